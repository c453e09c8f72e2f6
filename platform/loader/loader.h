// The module loader: dlopen/dlsym/dlclose behind the Windows names. After a
// library is loaded the loader calls its exported DllMain(handle,
// DLL_PROCESS_ATTACH, 0), before the last FreeLibrary DllMain(...,
// DLL_PROCESS_DETACH, 0), and for modules still loaded at process exit.
// Well-known names: "RICHED32.DLL" is a built-in module that always loads,
// "shell32.dll" and "setupapi.dll" are the platform library itself, "ODBC32.DLL" is unixODBC's
// libodbc.so.2 and "ODBCCP32.DLL" its installer libodbcinst.so.2; any other
// name is a path or a file name searched next to the program and in the
// system directory ($DATROVA_SYSTEM_DIR).
#pragma once

#include "platform/com/winbase.h"

#define DLL_PROCESS_DETACH 0u
#define DLL_PROCESS_ATTACH 1u
#define DLL_THREAD_ATTACH 2u
#define DLL_THREAD_DETACH 3u

#define LOAD_WITH_ALTERED_SEARCH_PATH 0x00000008u
#define DONT_RESOLVE_DLL_REFERENCES 0x00000001u
#define LOAD_LIBRARY_AS_DATAFILE 0x00000002u

typedef BOOL (*DllMainProc)(HINSTANCE hinstDLL, DWORD fdwReason, LPVOID lpvReserved);

extern "C" {
HMODULE LoadLibraryA(LPCSTR lpLibFileName);
HMODULE LoadLibraryExA(LPCSTR lpLibFileName, HANDLE hFile, DWORD dwFlags);
BOOL FreeLibrary(HMODULE hLibModule);
FARPROC GetProcAddress(HMODULE hModule, LPCSTR lpProcName);
// The module that contains an address, or the program for a null module.
DWORD GetModuleFileNameA(HMODULE hModule, LPSTR lpFilename, DWORD nSize);
// The module handle of a loaded module by name, or of the program for null.
HMODULE GetModuleHandleA(LPCSTR lpModuleName);
// Unloads every module whose DllCanUnloadNow answers S_OK.
void CoFreeUnusedLibraries(void);
// The system directory ($DATROVA_SYSTEM_DIR, default
// ${XDG_DATA_HOME:-~/.local/share}/datrova/system).
UINT GetSystemDirectoryA(LPSTR lpBuffer, UINT uSize);

// Resources. A module registers its string table when it attaches (there is
// no resource section on this platform); LoadStringA then finds the string
// by module handle and identifier. Returns the length copied (cut to
// cchBufferMax - 1), 0 when there is no such string.
struct ResourceString {
  UINT id;
  const char* text;
};
void PlatformRegisterStrings(HINSTANCE hInstance, const ResourceString* table, size_t count);
void PlatformUnregisterStrings(HINSTANCE hInstance);
int LoadStringA(HINSTANCE hInstance, UINT uID, LPSTR lpBuffer, int cchBufferMax);
}
