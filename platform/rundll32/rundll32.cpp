// rundll32 LIBRARY,Entry rest-of-command-line
// Loads LIBRARY, creates the Qt application and calls
//   void Entry(HWND hwnd, HINSTANCE hinst, LPSTR cmdLine, int nCmdShow)
// with a null window, the library's handle, the rest of the command line and
// SW_SHOWNORMAL. Arguments that contain blanks are passed on in double
// quotes, so the entry sees the command line as it was typed.
// Exit codes: 0 the entry ran; 1 usage; 2 library not loaded; 3 no entry.
#include <QApplication>
#include <cstdio>
#include <string>

#include "platform/loader/loader.h"
#include "platform/ui/ui.h"

typedef void (*RunDllEntry)(HWND, HINSTANCE, LPSTR, int);

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: rundll32 LIBRARY,Entry [arguments]\n");
    return 1;
  }
  const std::string target = argv[1];
  const size_t comma = target.rfind(',');
  if (comma == std::string::npos || comma == 0 || comma + 1 >= target.size()) {
    std::fprintf(stderr, "rundll32: expected LIBRARY,Entry, got \"%s\"\n", target.c_str());
    return 1;
  }
  const std::string library = target.substr(0, comma);
  std::string entryName = target.substr(comma + 1);
  while (!entryName.empty() && entryName.front() == ' ') entryName.erase(0, 1);

  std::string rest;
  for (int i = 2; i < argc; ++i) {
    if (!rest.empty()) rest += ' ';
    const std::string arg = argv[i];
    if (arg.find_first_of(" \t") != std::string::npos && arg.find('"') == std::string::npos)
      rest += '"' + arg + '"';
    else
      rest += arg;
  }

  HMODULE module = LoadLibraryA(library.c_str());
  if (!module) {
    std::fprintf(stderr, "rundll32: cannot load library \"%s\" (error %u)\n", library.c_str(),
                 static_cast<unsigned>(GetLastError()));
    return 2;
  }
  auto entry = reinterpret_cast<RunDllEntry>(GetProcAddress(module, entryName.c_str()));
  if (!entry) entry = reinterpret_cast<RunDllEntry>(GetProcAddress(module, (entryName + "A").c_str()));
  if (!entry) {
    std::fprintf(stderr, "rundll32: library \"%s\" has no entry \"%s\"\n", library.c_str(), entryName.c_str());
    FreeLibrary(module);
    return 3;
  }
  {
    QApplication app(argc, argv);
    entry(nullptr, module, rest.data(), SW_SHOWNORMAL);
    // Objects the library left for deletion go before its code does.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    FreeLibrary(module);
  }
  return 0;
}
