// A module for the loader tests. Its DllMain appends one line per call
// ("attach"/"detach") to the file named by $TEST_MODULE_LOG, and refuses to
// attach while $TEST_MODULE_FAIL_ATTACH is set.
#include <cstdio>
#include <cstdlib>

#include "platform/loader/loader.h"

extern "C" __attribute__((visibility("default"))) BOOL DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (const char* log = std::getenv("TEST_MODULE_LOG")) {
    if (FILE* f = std::fopen(log, "a")) {
      std::fputs(reason == DLL_PROCESS_ATTACH ? "attach\n" : reason == DLL_PROCESS_DETACH ? "detach\n" : "other\n",
                 f);
      std::fclose(f);
    }
  }
  if (reason == DLL_PROCESS_ATTACH && std::getenv("TEST_MODULE_FAIL_ATTACH")) return FALSE;
  return TRUE;
}

extern "C" __attribute__((visibility("default"))) int TestModuleAnswer() { return 42; }
