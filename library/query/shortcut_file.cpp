#include "library/query/shortcut_file.h"

#include <QString>
#include <cstdio>
#include <memory>

namespace {

constexpr std::string_view kHeader = "[Datrova Shortcut]";

// UTF-16 little endian to UTF-8, at most kShortcutBufferSize bytes of output
// (never a cut character). A byte order mark is converted along with the
// text; it stands before the header and harms nothing.
std::string Utf16ToAnsi(std::string_view bytes) {
  std::u16string wide(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < wide.size(); ++i)
    wide[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                    (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  const QString text = QString::fromUtf16(wide.data(), static_cast<qsizetype>(wide.size()));
  QByteArray utf8 = text.toUtf8();
  if (static_cast<size_t>(utf8.size()) > kShortcutBufferSize) {
    qsizetype cut = static_cast<qsizetype>(kShortcutBufferSize);
    while (cut > 0 && (static_cast<unsigned char>(utf8[cut]) & 0xC0) == 0x80) --cut;
    utf8.truncate(cut);
  }
  return utf8.toStdString();
}

}  // namespace

std::string ShortcutFileText(std::string_view dataSource, std::string_view statement) {
  std::string text;
  text.reserve(dataSource.size() + statement.size() + 32);
  text.append(kHeader).append("\r\nDSN=").append(dataSource).append("\r\nSQL=").append(statement).append("\r\n");
  return text;
}

bool WriteShortcutFile(const std::string& path, std::string_view dataSource, std::string_view statement) {
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "wb"), &std::fclose);
  if (!file) return false;
  const std::string text = ShortcutFileText(dataSource, statement);
  const bool written = std::fwrite(text.data(), 1, text.size(), file.get()) == text.size();
  return std::fclose(file.release()) == 0 && written;
}

bool ParseShortcutBytes(std::string_view bytes, ShortcutContents& contents) {
  contents = {};
  if (bytes.size() > kShortcutTextMax) bytes = bytes.substr(0, kShortcutTextMax);
  // Our own files have the 'D' of the header as their second byte; anything
  // else is taken as UTF-16.
  std::string converted;
  std::string_view text = bytes;
  if (bytes.size() < 2 || bytes[1] != 'D') {
    converted = Utf16ToAnsi(bytes);
    text = converted;
  }
  const size_t dsn = text.find("DSN=");
  const size_t sql = text.find("SQL=");
  if (dsn == std::string_view::npos || sql == std::string_view::npos) return false;

  auto isSeparator = [](char c) { return c == '\t' || c == '\r' || c == '\n' || c == '\f'; };
  size_t begin = dsn + 4;
  while (begin < text.size() && isSeparator(text[begin])) ++begin;
  size_t end = begin;
  while (end < text.size() && !isSeparator(text[end])) ++end;
  contents.dataSource.assign(text.substr(begin, end - begin));

  std::string_view statement = text.substr(sql + 4);
  // The line break that ends the file belongs to the format, not to the
  // statement; without dropping it every save of a loaded shortcut would
  // add one more.
  if (statement.ends_with("\r\n"))
    statement.remove_suffix(2);
  else if (statement.ends_with('\n'))
    statement.remove_suffix(1);
  contents.statement.assign(statement);
  return true;
}

bool ReadShortcutFile(const std::string& path, ShortcutContents& contents) {
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!file) return false;
  std::string bytes(kShortcutBufferSize, '\0');
  const size_t read = std::fread(bytes.data(), 1, bytes.size(), file.get());
  bytes.resize(read);
  return ParseShortcutBytes(bytes, contents);
}

bool ParseExecCommandLine(const char* commandLine, std::string& path) {
  path.clear();
  if (!commandLine) return false;
  std::string_view line = commandLine;
  size_t pos = 0;
  while (pos < line.size() && line[pos] == ' ') ++pos;
  if (pos >= line.size()) return false;
  // The verb (EXEC) is not checked.
  while (pos < line.size() && line[pos] != ' ') ++pos;
  while (pos < line.size() && line[pos] == ' ') ++pos;
  if (pos >= line.size()) return false;
  std::string_view rest = line.substr(pos);
  if (rest.front() == '"') {
    rest.remove_prefix(1);
    path.assign(rest.substr(0, rest.find('"')));
  } else {
    path.assign(rest.substr(0, rest.find(' ')));
  }
  return !path.empty();
}
