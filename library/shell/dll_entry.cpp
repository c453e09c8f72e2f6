// The library's entry points: DllMain (process attach and detach),
// DllGetClassObject and DllCanUnloadNow.
#include "library/catalog/settings.h"
#include "library/res/strings.h"
#include "library/shell/class_factory.h"
#include "library/shell/image_lists.h"
#include "library/shell/module_state.h"
#include "platform/loader/loader.h"
#include "platform/sync/sync.h"
#include "platform/ui/ui.h"

namespace {

constexpr const char* kLoadedEventName = "DATROVA-DLL";

// Set once an attachment got past SHGetMalloc and read the settings: only
// then does detach write them back (a refused load must not overwrite the
// stored settings with defaults).
bool s_started = false;

void ProcessAttach() {
  // The first attachment in this process makes the event non-signalled, so
  // that setup waits until the library is let go again.
  if (g_attachCount == 0 && g_loadedEvent) ResetEvent(g_loadedEvent);
  ++g_attachCount;
}

BOOL FinishAttach(HINSTANCE hinstDLL) {
  if (FAILED(SHGetMalloc(&g_shellMalloc))) {
    g_shellMalloc = nullptr;
    return FALSE;
  }
  g_languageOffset = PRIMARYLANGID(GetUserDefaultLangID()) == LANG_GERMAN ? 0 : 1000;
  g_hInstance = hinstDLL;
  RegisterModuleResources(hinstDLL);
  RegisterIconResources(hinstDLL);
  LoadSettings();
  g_settingsDeleted = false;
  // Without a GUI application the lists are built on first use instead.
  BuildImageLists();
  s_started = true;
  return TRUE;
}

void ProcessDetach(HINSTANCE hinstDLL) {
  if (g_shellMalloc) {
    g_shellMalloc->Release();
    g_shellMalloc = nullptr;
  }
  if (s_started) {
    if (!g_settingsDeleted) SaveSettings();
    DestroyImageLists();
    UnregisterIconResources(hinstDLL);
    UnregisterModuleResources(hinstDLL);
    g_hInstance = nullptr;
    s_started = false;
  }
  if (g_attachCount > 0) --g_attachCount;
  if (g_attachCount == 0 && g_loadedEvent) {
    SetEvent(g_loadedEvent);
    CloseHandle(g_loadedEvent);
    g_loadedEvent = nullptr;
  }
}

}  // namespace

DATROVA_EXPORT BOOL DllMain(HINSTANCE hinstDLL, DWORD fdwReason, LPVOID /*lpvReserved*/) {
  // Every call retries the event, so a failed CreateEventA is not final.
  if (!g_loadedEvent) g_loadedEvent = CreateEventA(nullptr, TRUE, FALSE, kLoadedEventName);
  switch (fdwReason) {
    case DLL_PROCESS_ATTACH:
      ProcessAttach();
      return FinishAttach(hinstDLL);
    case DLL_PROCESS_DETACH:
      ProcessDetach(hinstDLL);
      return TRUE;
    default:
      return TRUE;
  }
}

DATROVA_EXPORT HRESULT DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (!IsEqualCLSID(rclsid, CLSID_Datrova)) return CLASS_E_CLASSNOTAVAILABLE;
  return HandOut(new (std::nothrow) ClassFactory(), riid, ppv);
}

DATROVA_EXPORT HRESULT DllCanUnloadNow(void) {
  return (g_objectCount + g_lockCount) != 0 ? S_FALSE : S_OK;
}
