// The exported Uninstall entry:
//   rundll32 Datrova.so,Uninstall /path/to/datrova.inf
// asks the user, then hands the INF file's DefaultUninstall section to
//   rundll32 setupapi.dll,InstallHinfSection DefaultUninstall 132 FILE
// in a process of its own, which removes the files and registry entries the
// installation made (the library file itself among them).
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <climits>
#include <cstring>
#include <string>

#include "library/res/resource_ids.h"
#include "library/res/strings.h"
#include "library/shell/module_state.h"
#include "platform/loader/loader.h"
#include "platform/ui/ui.h"

namespace {

// The INF path from the command line: the text in double quotes when it
// starts with one, else the whole line without surrounding blanks.
std::string InfPath(const char* commandLine) {
  std::string line = commandLine;
  const size_t first = line.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  line.erase(0, first);
  if (line[0] == '"') {
    const size_t close = line.find('"', 1);
    return line.substr(1, close == std::string::npos ? std::string::npos : close - 1);
  }
  while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.pop_back();
  return line;
}

std::string ModuleDirectory(HMODULE module) {
  char path[PATH_MAX + 1];
  const DWORD n = GetModuleFileNameA(module, path, sizeof path);
  if (n == 0 || n >= sizeof path) return {};
  return QFileInfo(QString::fromUtf8(path, static_cast<int>(n))).absolutePath().toStdString();
}

// The rundll32 program: next to the program that runs us (usually rundll32
// itself), else next to the platform library (where every program of the
// platform is built), else on the PATH.
QString FindRunDll() {
  std::vector<std::string> folders = {ModuleDirectory(nullptr)};
  if (HMODULE platform = LoadLibraryA("setupapi.dll")) {
    folders.push_back(ModuleDirectory(platform));
    FreeLibrary(platform);
  }
  for (const std::string& folder : folders) {
    if (folder.empty()) continue;
    const QString candidate = QDir(QString::fromStdString(folder)).filePath(QStringLiteral("rundll32"));
    if (QFileInfo(candidate).isExecutable()) return candidate;
  }
  return QStandardPaths::findExecutable(QStringLiteral("rundll32"));
}

}  // namespace

DATROVA_EXPORT void Uninstall(HWND hwnd, HINSTANCE, LPSTR lpszCmdLine, int) {
  // Paths here may be as long as the file system allows, not 260 characters;
  // an empty line names no installation to remove.
  if (!lpszCmdLine || std::strlen(lpszCmdLine) >= PATH_MAX) return;
  const std::string inf = InfPath(lpszCmdLine);
  if (inf.empty()) return;

  const std::string question = ResString(IDS_CONFIRM_UNINSTALL);
  const std::string title = ResString(IDS_UNINSTALL_TITLE);
  if (MessageBoxA(hwnd, question.c_str(), title.c_str(), MB_YESNO | MB_ICONSTOP) != IDYES) return;
  // The uninstall removes the settings; this process must not write them
  // back when it lets the library go.
  g_settingsDeleted = true;

  // The uninstall runs detached, as the shell's "start" would run it: it
  // outlives this process, which may be holding the library it deletes.
  const QString runDll = FindRunDll();
  if (runDll.isEmpty()) return;
  QProcess::startDetached(runDll, {QStringLiteral("setupapi.dll,InstallHinfSection"), QStringLiteral("DefaultUninstall"),
                                   QStringLiteral("132"), QString::fromStdString(inf)});
}
