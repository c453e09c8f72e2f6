#include "library/shell/module_state.h"

HINSTANCE g_hInstance = nullptr;
UINT g_languageOffset = 1000;
IMalloc* g_shellMalloc = nullptr;
LONG g_objectCount = 0;
LONG g_lockCount = 0;
LONG g_attachCount = 0;
HANDLE g_loadedEvent = nullptr;
bool g_settingsDeleted = false;

// {5C7E2A14-9B3D-4F61-A8E2-3D9C0B6F1E47}
const CLSID CLSID_Datrova = {0x5C7E2A14, 0x9B3D, 0x4F61, {0xA8, 0xE2, 0x3D, 0x9C, 0x0B, 0x6F, 0x1E, 0x47}};
