// DllRegisterServer and DllUnregisterServer over the registration tables.
#include "library/shell/registration.h"

#include <climits>
#include <cstdio>
#include <memory>

#include "library/catalog/settings.h"
#include "library/res/resource_ids.h"
#include "library/res/strings.h"
#include "library/shell/module_state.h"
#include "platform/com/guid.h"
#include "platform/com/unknwn.h"
#include "platform/com/winbase.h"
#include "platform/loader/loader.h"
#include "platform/registry/registry.h"
#include "platform/ui/ui.h"

namespace {

constexpr const char* kProductName = "Datrova 2.2";
constexpr RegistrationRoot HKCR = RegistrationRoot::ClassesRoot;
constexpr RegistrationRoot HKLM = RegistrationRoot::LocalMachine;
constexpr RegistrationData KeyOnly = RegistrationData::KeyOnly;
constexpr RegistrationData Text = RegistrationData::Text;
constexpr RegistrationData Message = RegistrationData::Message;
constexpr RegistrationData ClassId = RegistrationData::ClassId;

HKEY RootKey(RegistrationRoot root) {
  return root == RegistrationRoot::ClassesRoot ? HKEY_CLASSES_ROOT : HKEY_LOCAL_MACHINE;
}

// Closes a registry key when it goes out of scope.
struct KeyCloser {
  void operator()(HKEY key) const { RegCloseKey(key); }
};
using OwnedKey = std::unique_ptr<std::remove_pointer_t<HKEY>, KeyCloser>;

OwnedKey CreateKey(HKEY root, const std::string& name, LSTATUS* status = nullptr) {
  HKEY key = nullptr;
  const LSTATUS result =
      RegCreateKeyExA(root, name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &key, nullptr);
  if (status) *status = result;
  return OwnedKey(result == ERROR_SUCCESS ? key : nullptr);
}

LSTATUS SetText(HKEY key, const char* valueName, const std::string& text) {
  return RegSetValueExA(key, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                        static_cast<DWORD>(text.size() + 1));
}

// The full path of the library file. A path that does not fit is an error
// rather than a cut path: a cut InprocServer32 would name another file.
bool LibraryPath(std::string& path) {
  char buffer[PATH_MAX + 1];
  const DWORD n = GetModuleFileNameA(g_hInstance, buffer, sizeof buffer);
  if (n == 0 || n >= sizeof buffer) return false;
  path.assign(buffer, n);
  return true;
}

void ShowSystemError(LSTATUS code) {
  char text[512] = "";
  if (FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, static_cast<DWORD>(code), 0, text, sizeof text, nullptr) ==
      0)
    std::snprintf(text, sizeof text, "%ld", static_cast<long>(code));
  MessageBoxA(nullptr, text, kProductName, MB_OK | MB_ICONSTOP);
}

}  // namespace

const RegistrationEntry kRegistrationTable[] = {
    {HKCR, "CLSID\\%s", nullptr, Text, "Datrova 2.2", 0},
    {HKCR, "CLSID\\%s", "InfoTip", Message, nullptr, IDS_CLASS_INFOTIP},
    {HKCR, "CLSID\\%s\\InprocServer32", nullptr, Text, "%s", 0},
    {HKCR, "CLSID\\%s\\InprocServer32", "ThreadingModel", Text, "Apartment", 0},
    {HKCR, "CLSID\\%s\\DefaultIcon", nullptr, Text, "%s,0", 0},
    {HKCR, "CLSID\\%s\\shellex\\PropertySheetHandlers\\Datrova", nullptr, ClassId, nullptr, 0},
    {HKCR, "Drive\\shellex\\PropertySheetHandlers\\Datrova", nullptr, ClassId, nullptr, 0},
    {HKCR, "CLSID\\%s\\shellex\\ContextMenuHandlers\\Datrova", nullptr, ClassId, nullptr, 0},
    {HKLM, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MyComputer\\NameSpace\\%s", nullptr, Text,
     "Datrova 2.2", 0},
    {HKLM, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Datrova", "DisplayName", Text, "Datrova 2.2", 0},
    {HKLM, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Datrova", "UninstallString", Text,
     "rundll32.exe %s,DllUnregisterServer", 0},
    {HKCR, ".dtq", nullptr, Text, "DatrovaFile", 0},
    {HKCR, "DatrovaFile", nullptr, Message, nullptr, IDS_SHORTCUT_TYPE},
    {HKCR, "DatrovaFile\\CLSID", nullptr, ClassId, nullptr, 0},
    {HKCR, "DatrovaFile\\DefaultIcon", nullptr, Text, "%s,1", 0},
    {HKCR, "DatrovaFile\\shell", nullptr, KeyOnly, nullptr, 0},
    {HKCR, "DatrovaFile\\shell\\Exec", nullptr, Message, nullptr, IDS_VERB_EXECUTE},
    // The doubled percent sign leaves one: the shell puts the file for "%1".
    {HKCR, "DatrovaFile\\shell\\Exec\\Command", nullptr, Text, "rundll32 %s,Exec EXEC \"%%1\"", 0},
    {HKCR, "DatrovaFile\\shellex", nullptr, KeyOnly, nullptr, 0},
    {HKCR, "DatrovaFile\\shellex\\PropertySheetHandlers", nullptr, ClassId, nullptr, 0},
};
const size_t kRegistrationTableSize = sizeof kRegistrationTable / sizeof kRegistrationTable[0];

// Children before parents: RegDeleteKeyA leaves a key that still has subkeys.
const UnregistrationEntry kUnregistrationTable[] = {
    {HKLM, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MyComputer\\NameSpace\\%s"},
    {HKCR, "DatrovaFile\\shellex\\PropertySheetHandlers"},
    {HKCR, "DatrovaFile\\shellex"},
    // A verb of earlier versions; absent keys are simply not deleted.
    {HKCR, "DatrovaFile\\shell\\Statement\\Command"},
    {HKCR, "DatrovaFile\\shell\\Statement"},
    {HKCR, "DatrovaFile\\shell\\Exec\\Command"},
    {HKCR, "DatrovaFile\\shell\\Exec"},
    {HKCR, "DatrovaFile\\shell"},
    {HKCR, "DatrovaFile\\DefaultIcon"},
    {HKCR, "DatrovaFile\\CLSID"},
    {HKCR, "DatrovaFile"},
    {HKCR, ".dtq"},
    {HKCR, "CLSID\\%s\\InprocServer32"},
    {HKCR, "CLSID\\%s\\DefaultIcon"},
    {HKCR, "CLSID\\%s\\ShellFolder"},
    {HKCR, "CLSID\\%s\\shellex\\PropertySheetHandlers\\Datrova"},
    {HKCR, "CLSID\\%s\\shellex\\PropertySheetHandlers"},
    {HKCR, "CLSID\\%s\\shellex\\ContextMenuHandlers\\Datrova"},
    {HKCR, "CLSID\\%s\\shellex\\ContextMenuHandlers"},
    {HKCR, "CLSID\\%s\\shellex"},
    {HKCR, "Drive\\shellex\\PropertySheetHandlers\\Datrova"},
    {HKCR, "CLSID\\%s"},
    {HKLM, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Datrova"},
};
const size_t kUnregistrationTableSize = sizeof kUnregistrationTable / sizeof kUnregistrationTable[0];

std::string FormatRegistrationText(const char* pattern, const std::string& argument) {
  std::string out;
  if (!pattern) return out;
  for (const char* p = pattern; *p; ++p) {
    if (p[0] == '%' && p[1] == 's') {
      out += argument;
      ++p;
    } else if (p[0] == '%' && p[1] == '%') {
      out += '%';
      ++p;
    } else {
      out += *p;
    }
  }
  return out;
}

std::string RegistrationClassId() {
  LPOLESTR wide = nullptr;
  if (FAILED(StringFromIID(CLSID_Datrova, &wide)) || !wide) return {};
  char text[MAX_PATH + 1] = "";
  const int n = WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
  CoTaskMemFree(wide);
  return n > 0 ? std::string(text) : std::string();
}

DATROVA_EXPORT HRESULT DllRegisterServer(void) {
  const std::string clsid = RegistrationClassId();
  std::string path;
  if (clsid.empty() || !LibraryPath(path)) return SELFREG_E_CLASS;

  for (size_t i = 0; i < kRegistrationTableSize; ++i) {
    const RegistrationEntry& entry = kRegistrationTable[i];
    OwnedKey key = CreateKey(RootKey(entry.root), FormatRegistrationText(entry.key, clsid));
    if (!key) return SELFREG_E_CLASS;
    std::string data;
    switch (entry.data) {
      case RegistrationData::KeyOnly:
        continue;
      case RegistrationData::ClassId:
        data = clsid;
        break;
      case RegistrationData::Text:
        data = FormatRegistrationText(entry.text, path);
        break;
      case RegistrationData::Message:
        data = FormatRegistrationText(ResString(entry.messageId).c_str(), path);
        break;
    }
    // A value that cannot be written leaves the key in place and goes on,
    // as only the key's creation decides about this step.
    SetText(key.get(), entry.valueName, data);
  }

  {
    LSTATUS status = ERROR_SUCCESS;
    OwnedKey folder = CreateKey(HKEY_CLASSES_ROOT, FormatRegistrationText("CLSID\\%s\\ShellFolder", clsid), &status);
    if (folder) {
      const DWORD attributes = kShellFolderAttributes;
      status = RegSetValueExA(folder.get(), "Attributes", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&attributes),
                              sizeof attributes);
    }
    if (status != ERROR_SUCCESS) {
      ShowSystemError(status);
      return SELFREG_E_CLASS;
    }
  }

  // This platform counts as a Windows NT platform: the extension is approved.
  OwnedKey approved = CreateKey(HKEY_LOCAL_MACHINE, kApprovedKey);
  if (!approved) return SELFREG_E_CLASS;
  SetText(approved.get(), clsid.c_str(), kProductName);
  // Registered again after an unregistration: the settings are kept again.
  g_settingsDeleted = false;
  return S_OK;
}

DATROVA_EXPORT HRESULT DllUnregisterServer(void) {
  const std::string clsid = RegistrationClassId();
  for (size_t i = 0; i < kUnregistrationTableSize; ++i) {
    const UnregistrationEntry& entry = kUnregistrationTable[i];
    RegDeleteKeyA(RootKey(entry.root), FormatRegistrationText(entry.key, clsid).c_str());
  }
  HKEY approved = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kApprovedKey, 0, KEY_WRITE, &approved) == ERROR_SUCCESS) {
    RegDeleteValueA(approved, clsid.c_str());
    RegCloseKey(approved);
  }
  RegDeleteKeyA(HKEY_CURRENT_USER, kLoginsKey);
  RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey);
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, kSettingsKey);
  // The settings are gone with the registration: the unload of this module
  // must not write them back.
  g_settingsDeleted = true;
  return S_OK;
}
