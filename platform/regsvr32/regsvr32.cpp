// regsvr32 [/u] [/s] LIBRARY
// Loads LIBRARY and calls its DllRegisterServer (or DllUnregisterServer with
// /u); prints the HRESULT in hexadecimal (/s: only failures). Exit codes:
// 0 success; 1 usage; 3 library not loaded; 4 entry missing; 5 the entry
// failed.
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/com/hresult.h"
#include "platform/loader/loader.h"

typedef HRESULT (*RegisterProc)();

int main(int argc, char** argv) {
  bool unregister = false;
  bool silent = false;
  const char* library = nullptr;
  for (int i = 1; i < argc; ++i) {
    const char* a = argv[i];
    if ((a[0] == '/' || a[0] == '-') && a[1] && !a[2] && (a[1] == 'u' || a[1] == 'U')) {
      unregister = true;
    } else if ((a[0] == '/' || a[0] == '-') && a[1] && !a[2] && (a[1] == 's' || a[1] == 'S')) {
      silent = true;
    } else if (!library) {
      library = a;
    } else {
      library = nullptr;
      break;
    }
  }
  if (!library) {
    std::fprintf(stderr, "usage: regsvr32 [/u] [/s] LIBRARY\n");
    return 1;
  }
  const char* entryName = unregister ? "DllUnregisterServer" : "DllRegisterServer";
  HMODULE module = LoadLibraryA(library);
  if (!module) {
    std::fprintf(stderr, "regsvr32: cannot load library \"%s\" (error %u)\n", library,
                 static_cast<unsigned>(GetLastError()));
    return 3;
  }
  auto entry = reinterpret_cast<RegisterProc>(GetProcAddress(module, entryName));
  if (!entry) {
    std::fprintf(stderr, "regsvr32: library \"%s\" has no entry %s\n", library, entryName);
    FreeLibrary(module);
    return 4;
  }
  const HRESULT hr = entry();
  FreeLibrary(module);
  if (FAILED(hr)) {
    std::fprintf(stderr, "regsvr32: %s in \"%s\" failed: 0x%08X\n", entryName, library, static_cast<unsigned>(hr));
    return 5;
  }
  if (!silent) std::printf("%s in \"%s\" succeeded: 0x%08X\n", entryName, library, static_cast<unsigned>(hr));
  return 0;
}
