// Reading INF text: sections, lines of "key = field, field, ...", quoted
// fields, comments and [Strings] substitution.
#include <strings.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>

#include "platform/setupapi/setupapi.h"

namespace platform::setupapi {
namespace {

// An INF file of our setup is a few hundred bytes; anything beyond this is
// not one of ours and is not read.
constexpr std::streamsize kMaxInfFileSize = 1 << 20;

std::string Trim(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  const size_t last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

bool SameName(const std::string& a, const std::string& b) { return strcasecmp(a.c_str(), b.c_str()) == 0; }

// A raw line split at the top-level "=" and commas, quotes removed, the
// comment cut off. Each field remembers whether any part was quoted so that
// blanks inside quotes survive trimming.
struct RawLine {
  std::string key;
  bool hasKey = false;
  std::vector<std::string> fields;
};

RawLine SplitLine(const std::string& line) {
  RawLine out;
  std::string field;
  bool quoted = false;   // inside a quoted run
  bool anyQuote = false; // this field held a quoted run
  auto finishField = [&]() {
    out.fields.push_back(anyQuote ? field : Trim(field));
    field.clear();
    anyQuote = false;
  };
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c == '"') {
        if (i + 1 < line.size() && line[i + 1] == '"') {
          field += '"';
          ++i;
        } else {
          quoted = false;
        }
      } else {
        field += c;
      }
      continue;
    }
    if (c == ';') break;
    if (c == '"') {
      // Blanks before the opening quote are not part of the field.
      if (!anyQuote) field = Trim(field);
      quoted = true;
      anyQuote = true;
    } else if (c == '=' && !out.hasKey && out.fields.empty()) {
      out.key = anyQuote ? field : Trim(field);
      out.hasKey = true;
      field.clear();
      anyQuote = false;
    } else if (c == ',') {
      finishField();
    } else {
      field += c;
    }
  }
  finishField();
  // A line "key=" has one empty field; a line of nothing has none.
  if (out.fields.size() == 1 && out.fields[0].empty() && !out.hasKey) out.fields.clear();
  return out;
}

// Puts the [Strings] texts in for %name%; "%%" is one percent sign, an
// unknown or unterminated name stays as it is.
std::string Substitute(const std::string& text, const InfSection* strings) {
  if (!strings || text.find('%') == std::string::npos) return text;
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      out += text[i];
      continue;
    }
    const size_t end = text.find('%', i + 1);
    if (end == std::string::npos) {
      out += text.substr(i);
      break;
    }
    const std::string name = text.substr(i + 1, end - i - 1);
    if (name.empty()) {
      out += '%';
    } else {
      const InfLine* found = nullptr;
      for (const InfLine& line : strings->lines)
        if (SameName(line.key, name)) found = &line;
      if (found && !found->fields.empty()) {
        out += found->fields[0];
      } else {
        out += text.substr(i, end - i + 1);
      }
    }
    i = end;
  }
  return out;
}

}  // namespace

bool InfFile::Load(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::string text(static_cast<size_t>(kMaxInfFileSize) + 1, '\0');
  in.read(text.data(), kMaxInfFileSize + 1);
  const std::streamsize n = in.gcount();
  if (n > kMaxInfFileSize || in.bad()) return false;
  text.resize(static_cast<size_t>(n));
  // A UTF-8 byte order mark is not part of the first line.
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
  const size_t slash = path.rfind('/');
  Parse(text, slash == std::string::npos ? std::string(".") : path.substr(0, slash == 0 ? 1 : slash));
  return true;
}

void InfFile::Parse(const std::string& text, const std::string& directory) {
  sections_.clear();
  directory_ = directory;
  std::vector<std::pair<std::string, std::vector<RawLine>>> raw;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    // Our setup writes CR LF; the CR must not end up in a quoted field.
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::string trimmed = Trim(line);
    if (trimmed.empty() || trimmed[0] == ';') continue;
    if (trimmed[0] == '[') {
      const size_t close = trimmed.find(']');
      raw.emplace_back(Trim(trimmed.substr(1, close == std::string::npos ? std::string::npos : close - 1)),
                       std::vector<RawLine>());
      continue;
    }
    // Lines before the first section belong to no section and are ignored.
    if (raw.empty()) continue;
    RawLine split = SplitLine(line);
    if (!split.hasKey && split.fields.empty()) continue;
    raw.back().second.push_back(std::move(split));
  }

  // [Strings] first, without substitution, so the other sections can use it.
  InfSection strings{"Strings", {}};
  for (auto& [name, rawLines] : raw)
    if (SameName(name, "Strings"))
      for (RawLine& r : rawLines) strings.lines.push_back({r.key, r.fields});
  for (auto& [name, rawLines] : raw) {
    InfSection* section = nullptr;
    // A section named twice is one section, as Windows reads it.
    for (InfSection& s : sections_)
      if (SameName(s.name, name)) section = &s;
    if (!section) {
      sections_.push_back({name, {}});
      section = &sections_.back();
    }
    const bool isStrings = SameName(name, "Strings");
    for (RawLine& r : rawLines) {
      InfLine out{isStrings ? r.key : Substitute(r.key, &strings), {}};
      for (const std::string& f : r.fields) out.fields.push_back(isStrings ? f : Substitute(f, &strings));
      section->lines.push_back(std::move(out));
    }
  }
}

const InfSection* InfFile::Section(const std::string& name) const {
  for (const InfSection& s : sections_)
    if (SameName(s.name, name)) return &s;
  return nullptr;
}

std::vector<std::string> InfFile::Values(const std::string& section, const std::string& key) const {
  std::vector<std::string> out;
  if (const InfSection* s = Section(section))
    for (const InfLine& line : s->lines)
      if (SameName(line.key, key))
        for (const std::string& f : line.fields)
          if (!f.empty()) out.push_back(f);
  return out;
}

}  // namespace platform::setupapi
