// Module-wide state of the library, one instance per process.
#pragma once

#include "platform/com/unknwn.h"

extern HINSTANCE g_hInstance;     // the library's own module handle (resources)
extern UINT g_languageOffset;     // 0 (German) or 1000 (English)
extern IMalloc* g_shellMalloc;    // the shell's task allocator (item ID lists)
extern LONG g_objectCount;        // COM objects of the library alive now
extern LONG g_lockCount;          // LockServer(TRUE) minus LockServer(FALSE)
extern LONG g_attachCount;        // process attachments not yet detached
extern HANDLE g_loadedEvent;      // named event "DATROVA-DLL", or null
// Set when the settings were deleted (DllUnregisterServer, a confirmed
// Uninstall): the detach of the module then does not write them back.
extern bool g_settingsDeleted;

// The class identifier of the namespace folder, the library's one class.
extern const CLSID CLSID_Datrova;

// Product name used as the title of every message box.
inline constexpr const char* kProductTitle = "Datrova 2.2";
