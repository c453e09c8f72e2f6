// Registration with the shell: the keys and values that make the namespace
// folder, its handlers, the shortcut file type and the uninstall entry, kept
// as data so that registration, unregistration and the tests read the same
// tables.
#pragma once

#include <cstddef>
#include <string>

#include "platform/com/hresult.h"
#include "platform/com/wintypes.h"

// The two hives registration touches (the third, the current user's, holds
// only the settings that unregistration deletes).
enum class RegistrationRoot { ClassesRoot, LocalMachine };

// Where the data of an entry comes from.
enum class RegistrationData {
  KeyOnly,    // the key is created, no value written
  Text,       // `text`, formatted with the library's path
  Message,    // string `messageId` in the current language, formatted with the path
  ClassId,    // the class identifier in its registry form
};

struct RegistrationEntry {
  RegistrationRoot root;
  const char* key;        // "%s" stands for the class identifier
  const char* valueName;  // null: the default value
  RegistrationData data;
  const char* text;       // RegistrationData::Text: "%s" is the path, "%%" a percent sign
  UINT messageId;         // RegistrationData::Message
};

struct UnregistrationEntry {
  RegistrationRoot root;
  const char* key;  // "%s" stands for the class identifier
};

extern const RegistrationEntry kRegistrationTable[];
extern const size_t kRegistrationTableSize;
extern const UnregistrationEntry kUnregistrationTable[];
extern const size_t kUnregistrationTableSize;

// The namespace folder's attributes under CLSID\{clsid}\ShellFolder:
// SFGAO_HASSUBFOLDER | SFGAO_FOLDER | SFGAO_HASPROPSHEET.
inline constexpr DWORD kShellFolderAttributes = 0xA0000040u;
inline constexpr const char* kApprovedKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";

// Replaces "%s" by `argument` and "%%" by "%"; every other character,
// including a lone "%", is copied as it is. Resource texts are never used as
// printf formats.
std::string FormatRegistrationText(const char* pattern, const std::string& argument);

// The class identifier in the shell's string form, "{XXXXXXXX-...}".
std::string RegistrationClassId();

// The exports (regsvr32 and setup call them through the loaded library).
DATROVA_EXPORT HRESULT DllRegisterServer(void);
DATROVA_EXPORT HRESULT DllUnregisterServer(void);
