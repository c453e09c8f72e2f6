// Running an INF section: DelFiles and DelReg, and the rundll32 entry
// InstallHinfSectionA.
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/loader/loader.h"
#include "platform/registry/registry.h"
#include "platform/setupapi/setupapi.h"

namespace platform::setupapi {
namespace {

// Directory ids of the subset.
constexpr int kInfDirectoryId = 1;
constexpr int kSystemDirectoryId = 11;

bool ParseDirectoryId(const std::string& text, int* id) {
  if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos) return false;
  *id = std::stoi(text);
  return true;
}

std::string SystemDirectory() {
  char buffer[4096];
  const UINT n = GetSystemDirectoryA(buffer, sizeof buffer);
  return n > 0 && n < sizeof buffer ? std::string(buffer, n) : std::string();
}

// A relative path that stays inside its directory: no leading slash and no
// "." or ".." component.
bool IsContainedPath(const std::string& path) {
  if (path.empty() || path[0] == '/') return false;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find_first_of("/\\", start);
    if (end == std::string::npos) end = path.size();
    const std::string part = path.substr(start, end - start);
    if (part.empty() || part == "." || part == "..") return false;
    start = end + 1;
  }
  return true;
}

// The folder of a file section from [DestinationDirs], "" when it has none
// that can be used.
std::string DestinationFor(const InfFile& inf, const std::string& fileSection, std::string* why) {
  std::vector<std::string> fields = inf.Values("DestinationDirs", fileSection);
  if (fields.empty()) fields = inf.Values("DestinationDirs", "DefaultDestDir");
  int id = 0;
  if (fields.empty() || !ParseDirectoryId(fields[0], &id)) {
    *why = "no destination directory";
    return {};
  }
  std::string base;
  if (id == kInfDirectoryId) {
    base = inf.directory();
  } else if (id == kSystemDirectoryId) {
    base = SystemDirectory();
  } else {
    *why = "unknown directory id " + fields[0];
    return {};
  }
  if (base.empty()) {
    *why = "directory id " + fields[0] + " has no folder";
    return {};
  }
  if (fields.size() > 1 && !fields[1].empty()) {
    std::string sub = fields[1];
    for (char& c : sub)
      if (c == '\\') c = '/';
    if (!IsContainedPath(sub)) {
      *why = "subfolder leaves its directory: " + fields[1];
      return {};
    }
    base += "/" + sub;
  }
  return base;
}

void DeleteFiles(const InfFile& inf, const std::string& fileSection, InfRunReport* report) {
  const InfSection* section = inf.Section(fileSection);
  if (!section) {
    report->skipped.push_back("[" + fileSection + "]: no such section");
    return;
  }
  std::string why;
  const std::string folder = DestinationFor(inf, fileSection, &why);
  if (folder.empty()) {
    report->skipped.push_back("[" + fileSection + "]: " + why);
    return;
  }
  for (const InfLine& line : section->lines) {
    // A file line has no key; its first field is the file name.
    const std::string name = !line.key.empty() ? line.key : (line.fields.empty() ? std::string() : line.fields[0]);
    if (name.empty() || name == "." || name == ".." || name.find_first_of("/\\") != std::string::npos) {
      report->skipped.push_back("[" + fileSection + "]: not a file name: " + name);
      continue;
    }
    const std::string path = folder + "/" + name;
    struct stat st{};
    if (lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
      report->skipped.push_back(path + ": a folder, not a file");
      continue;
    }
    // A library still mapped by a process keeps working: unlink only
    // removes the name.
    if (unlink(path.c_str()) == 0 || errno == ENOENT) {
      report->deletedFiles.push_back(path);
    } else {
      report->skipped.push_back(path + ": " + std::strerror(errno));
    }
  }
}

bool ParseRoot(const std::string& text, HKEY* root, std::string* shortName) {
  struct Root {
    const char* shortName;
    const char* longName;
    HKEY key;
  };
  const Root roots[] = {
      {"HKCR", "HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
      {"HKCU", "HKEY_CURRENT_USER", HKEY_CURRENT_USER},
      {"HKLM", "HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
  };
  for (const Root& r : roots) {
    if (strcasecmp(text.c_str(), r.shortName) == 0 || strcasecmp(text.c_str(), r.longName) == 0) {
      *root = r.key;
      *shortName = r.shortName;
      return true;
    }
  }
  return false;
}

// Deletes a key with everything below it, children first. Subkeys are
// listed before any is deleted, so a failing child cannot make the loop
// spin; the key itself then stays, as Windows leaves a key with children.
LSTATUS DeleteKeyTree(HKEY root, const std::string& name, int depth) {
  // The registry refuses deeper keys anyway; this bounds the recursion.
  if (depth > 512) return ERROR_INVALID_PARAMETER;
  HKEY key = nullptr;
  LSTATUS status = RegOpenKeyExA(root, name.c_str(), 0, KEY_READ, &key);
  if (status != ERROR_SUCCESS) return status;
  std::vector<std::string> children;
  for (DWORD index = 0;; ++index) {
    char child[256];
    DWORD size = sizeof child;
    if (RegEnumKeyExA(key, index, child, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    children.emplace_back(child, size);
  }
  RegCloseKey(key);
  for (const std::string& child : children) DeleteKeyTree(root, name + "\\" + child, depth + 1);
  return RegDeleteKeyA(root, name.c_str());
}

void DeleteRegistry(const InfFile& inf, const std::string& regSection, InfRunReport* report) {
  const InfSection* section = inf.Section(regSection);
  if (!section) {
    report->skipped.push_back("[" + regSection + "]: no such section");
    return;
  }
  for (const InfLine& line : section->lines) {
    std::vector<std::string> fields = line.fields;
    if (!line.key.empty()) fields.insert(fields.begin(), line.key);
    HKEY root = nullptr;
    std::string rootName;
    const std::string keyName = fields.size() > 1 ? fields[1] : std::string();
    const std::string text = (fields.empty() ? std::string() : fields[0]) + "," + keyName;
    if (fields.empty() || !ParseRoot(fields[0], &root, &rootName)) {
      report->skipped.push_back("[" + regSection + "]: unknown root: " + text);
      continue;
    }
    // Without a key the line would name the whole hive.
    if (keyName.find_first_not_of("\\ ") == std::string::npos) {
      report->skipped.push_back("[" + regSection + "]: no key: " + text);
      continue;
    }
    if (fields.size() > 2 && !fields[2].empty()) {
      HKEY key = nullptr;
      LSTATUS status = RegOpenKeyExA(root, keyName.c_str(), 0, KEY_WRITE, &key);
      if (status == ERROR_SUCCESS) {
        status = RegDeleteValueA(key, fields[2].c_str());
        RegCloseKey(key);
      }
      if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) {
        report->deletedKeys.push_back(rootName + "\\" + keyName + "\\" + fields[2]);
      } else {
        report->skipped.push_back(rootName + "\\" + keyName + "\\" + fields[2] + ": error " + std::to_string(status));
      }
      continue;
    }
    const LSTATUS status = DeleteKeyTree(root, keyName, 0);
    if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) {
      report->deletedKeys.push_back(rootName + "\\" + keyName);
    } else {
      report->skipped.push_back(rootName + "\\" + keyName + ": error " + std::to_string(status));
    }
  }
}

}  // namespace

bool RunInfSection(const InfFile& inf, const std::string& sectionName, InfRunReport* report) {
  InfRunReport local;
  if (!report) report = &local;
  if (!inf.Section(sectionName)) return false;
  // Files first: the registry entries still name what is being removed
  // until the files are gone.
  for (const std::string& files : inf.Values(sectionName, "DelFiles")) DeleteFiles(inf, files, report);
  for (const std::string& reg : inf.Values(sectionName, "DelReg")) DeleteRegistry(inf, reg, report);
  return true;
}

}  // namespace platform::setupapi

namespace {

// The next word of a command line: a run of non-blanks, or the text inside
// double quotes.
std::string NextWord(const char*& p) {
  while (*p == ' ' || *p == '\t') ++p;
  std::string word;
  if (*p == '"') {
    ++p;
    while (*p && *p != '"') word += *p++;
    if (*p == '"') ++p;
    return word;
  }
  while (*p && *p != ' ' && *p != '\t') word += *p++;
  return word;
}

}  // namespace

extern "C" void InstallHinfSectionA(HWND /*window*/, HINSTANCE /*module*/, LPCSTR commandLine, INT /*showCommand*/) {
  using namespace platform::setupapi;
  if (!commandLine) return;
  const char* p = commandLine;
  const std::string section = NextWord(p);
  NextWord(p);  // the mode: reboot and path flags, nothing to do here
  // The rest is the path, which may hold blanks when it is not quoted.
  while (*p == ' ' || *p == '\t') ++p;
  std::string path = *p == '"' ? NextWord(p) : std::string(p);
  while (!path.empty() && (path.back() == ' ' || path.back() == '\t')) path.pop_back();
  if (section.empty() || path.empty()) {
    std::fprintf(stderr, "InstallHinfSection: expected SECTION MODE PATH\n");
    return;
  }
  InfFile inf;
  if (!inf.Load(path)) {
    std::fprintf(stderr, "InstallHinfSection: cannot read \"%s\"\n", path.c_str());
    return;
  }
  InfRunReport report;
  if (!RunInfSection(inf, section, &report)) {
    std::fprintf(stderr, "InstallHinfSection: \"%s\" has no section [%s]\n", path.c_str(), section.c_str());
    return;
  }
  for (const std::string& s : report.skipped) std::fprintf(stderr, "InstallHinfSection: %s\n", s.c_str());
}
