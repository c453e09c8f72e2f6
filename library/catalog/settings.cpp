#include "library/catalog/settings.h"

#include <chrono>
#include <cstring>
#include <mutex>
#include <random>

#include "library/catalog/text_utils.h"
#include "library/res/strings.h"
#include "library/shell/module_state.h"
#include "platform/loader/loader.h"
#include "platform/registry/registry.h"
#include "platform/ui/ui.h"

Settings g_settings;

namespace {

constexpr UINT kRichEditMissingText = 47;
constexpr UINT kYesText = 10;
constexpr UINT kNoText = 11;

// "Display Settings": offset 0 version (always 1), offsets 4..55 widths 0-12,
// all little-endian 32 bits.
constexpr DWORD kDisplaySettingsSize = 4 + 4 * kStoredWidthCount;
constexpr uint32_t kDisplaySettingsVersion = 1;

// Saved login: 512 bytes; byte 0 scramble byte, user name from offset 1,
// then the password, each UTF-16LE with its terminator; filler to the end.
constexpr DWORD kLoginSize = 512;
// Byte 0, both texts and both terminators must lie inside the 512 bytes:
// 1 + 2 * (user + 1) + 2 * (password + 1) <= 512, that is at most 253
// characters together. (A pair of 254 would put the password's terminator
// past the end: its last byte would be lost and the login unreadable.)
constexpr size_t kLoginTextBytes = kLoginSize - 1 - 2 * 2;  // 507: bytes for both texts
// Characters (with the terminator) that ToWide may produce per text.
constexpr int kLoginWideMax = 512;

HMODULE g_richEdit = nullptr;

// Closes a registry key on every path.
class RegKey {
 public:
  RegKey() = default;
  RegKey(const RegKey&) = delete;
  RegKey& operator=(const RegKey&) = delete;
  ~RegKey() {
    if (key_) RegCloseKey(key_);
  }
  bool open(const char* path) {
    return RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_ALL_ACCESS, &key_) == ERROR_SUCCESS;
  }
  bool create(const char* path) {
    DWORD disposition = 0;
    return RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                           &key_, &disposition) == ERROR_SUCCESS;
  }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

uint32_t ReadLE32(const BYTE* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}
void WriteLE32(BYTE* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<BYTE>(v >> (8 * i));
}

// A REG_DWORD value, or nothing when it is missing or of another type/size.
bool QueryDword(HKEY key, const char* name, uint32_t* out) {
  BYTE data[4];
  DWORD type = 0;
  DWORD size = sizeof data;
  if (RegQueryValueExA(key, name, nullptr, &type, data, &size) != ERROR_SUCCESS) return false;
  if (type != REG_DWORD || size != sizeof data) return false;
  *out = ReadLE32(data);
  return true;
}

void SetDword(HKEY key, const char* name, uint32_t value) {
  BYTE data[4];
  WriteLE32(data, value);
  RegSetValueExA(key, name, 0, REG_DWORD, data, sizeof data);
}

void ReadOptions(HKEY key, Settings& s, bool& widthsApplied) {
  uint32_t v = 0;
  // MaxCol/MaxRow: the value is the low 16 bits of the DWORD.
  if (QueryDword(key, "MaxCol", &v)) s.MaxCol = static_cast<uint16_t>(v & 0xFFFF);
  if (QueryDword(key, "MaxRow", &v)) s.MaxRow = static_cast<uint16_t>(v & 0xFFFF);
  if (QueryDword(key, "Timeout", &v)) s.Timeout = v;
  if (QueryDword(key, "ConnectSelect", &v)) s.ConnectSelect = v != 0;
  if (QueryDword(key, "ConnectDSN", &v)) s.ConnectDSN = v != 0;
  if (QueryDword(key, "ShowSysTab", &v)) s.ShowSysTab = v != 0;
  if (QueryDword(key, "ShowProcs", &v)) s.ShowProcs = v != 0;

  // NullValue: at most 128 characters; a longer one does not fit the
  // 129-byte buffer and the default stays.
  char text[kNullValueMax + 1];
  DWORD type = 0;
  DWORD size = sizeof text;
  if (RegQueryValueExA(key, "NullValue", nullptr, &type, reinterpret_cast<BYTE*>(text), &size) == ERROR_SUCCESS &&
      type == REG_SZ) {
    // Stored data need not carry its NUL; 129 bytes without one are too long.
    size_t n = size;
    if (n > 0 && text[n - 1] == 0) --n;
    if (n <= kNullValueMax && std::memchr(text, 0, n) == nullptr) {
      std::memcpy(s.NullValue, text, n);
      s.NullValue[n] = 0;
    }
  }

  // Column widths: only a value of exactly 56 bytes and version 1 counts.
  BYTE display[kDisplaySettingsSize];
  size = sizeof display;
  if (RegQueryValueExA(key, "Display Settings", nullptr, &type, display, &size) == ERROR_SUCCESS &&
      type == REG_BINARY && size == kDisplaySettingsSize && ReadLE32(display) == kDisplaySettingsVersion) {
    for (int i = 0; i < kStoredWidthCount; ++i) s.columnWidths[i] = static_cast<int32_t>(ReadLE32(display + 4 + 4 * i));
    widthsApplied = true;
  }
}

// The pseudo-random filler of a saved login. Re-seeded from the clock after
// every fill, so that two logins saved in a row do not share their filler.
class LoginFiller {
 public:
  void fill(BYTE* data, size_t size) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (size_t i = 0; i < size; ++i) data[i] = static_cast<BYTE>(engine_() & 0xFF);
    engine_.seed(ClockSeed());
  }

 private:
  static uint64_t ClockSeed() {
    return static_cast<uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
  }
  std::mutex mutex_;
  std::mt19937_64 engine_{ClockSeed() ^ std::random_device{}()};
};

BYTE SwapNibbles(BYTE b) { return static_cast<BYTE>((b << 4) | (b >> 4)); }

// Length in characters of the UTF-16LE text at `offset` of the plain login,
// or -1 when no terminator lies inside the 512 bytes.
int LoginTextLength(const BYTE* plain, size_t offset) {
  for (size_t p = offset, n = 0; p + 1 < kLoginSize; p += 2, ++n) {
    if (plain[p] == 0 && plain[p + 1] == 0) return static_cast<int>(n);
  }
  return -1;
}

// Converts `length` UTF-16LE characters at `offset` to ANSI into buffer.
bool LoginTextToAnsi(const BYTE* plain, size_t offset, int length, char* buffer, int size) {
  // The text sits at an odd offset: gather it into aligned characters.
  char16_t wide[kLoginSize / 2 + 1];
  for (int i = 0; i < length; ++i) {
    wide[i] = static_cast<char16_t>(plain[offset + 2 * i] | (plain[offset + 2 * i + 1] << 8));
  }
  wide[length] = 0;
  const bool ok = ToAnsi(buffer, wide, size) > 0;
  std::memset(wide, 0, sizeof wide);
  return ok;
}

void PutLoginText(BYTE* plain, size_t offset, const char16_t* text, size_t length) {
  for (size_t i = 0; i <= length; ++i) {  // with the terminator
    const char16_t c = i < length ? text[i] : u'\0';
    plain[offset + 2 * i] = static_cast<BYTE>(c & 0xFF);
    plain[offset + 2 * i + 1] = static_cast<BYTE>(c >> 8);
  }
}

void Wipe(void* data, size_t size) {
  volatile BYTE* p = static_cast<volatile BYTE*>(data);
  while (size--) *p++ = 0;
}

}  // namespace

bool LoadSettings() {
  // Kept loaded until the settings are next saved; a second load does not
  // take a second reference.
  if (!g_richEdit) {
    g_richEdit = LoadLibraryA("RICHED32.DLL");
    if (!g_richEdit) {
      MessageBoxA(nullptr, ResString(kRichEditMissingText).c_str(), kProductTitle,
                  MB_ICONINFORMATION | MB_SYSTEMMODAL);
    }
  }

  g_settings.rtfClipboardFormat = RegisterClipboardFormatA("Rich Text Format");
  GetProfileStringA("intl", "sList", ",", g_settings.listSeparator, sizeof g_settings.listSeparator);
  LoadResString(kYesText, g_settings.yesText, sizeof g_settings.yesText);
  LoadResString(kNoText, g_settings.noText, sizeof g_settings.noText);

  // Options start from their defaults; the prepared values above stay.
  Settings defaults;
  g_settings.MaxCol = defaults.MaxCol;
  g_settings.MaxRow = defaults.MaxRow;
  g_settings.Timeout = defaults.Timeout;
  g_settings.ConnectSelect = defaults.ConnectSelect;
  g_settings.ConnectDSN = defaults.ConnectDSN;
  g_settings.ShowSysTab = defaults.ShowSysTab;
  g_settings.ShowProcs = defaults.ShowProcs;
  std::memcpy(g_settings.NullValue, defaults.NullValue, sizeof g_settings.NullValue);
  std::memcpy(g_settings.columnWidths, defaults.columnWidths, sizeof g_settings.columnWidths);

  bool widthsApplied = false;
  RegKey key;
  if (key.open(kSettingsKey)) ReadOptions(key.get(), g_settings, widthsApplied);
  return widthsApplied;
}

bool SaveSettings() {
  bool created = false;
  {
    RegKey key;
    created = key.create(kSettingsKey);
    if (created) {
      HKEY k = key.get();
      SetDword(k, "MaxCol", g_settings.MaxCol);
      SetDword(k, "MaxRow", g_settings.MaxRow);
      SetDword(k, "Timeout", g_settings.Timeout);
      SetDword(k, "ConnectSelect", g_settings.ConnectSelect ? 1 : 0);
      SetDword(k, "ConnectDSN", g_settings.ConnectDSN ? 1 : 0);
      SetDword(k, "ShowSysTab", g_settings.ShowSysTab ? 1 : 0);
      SetDword(k, "ShowProcs", g_settings.ShowProcs ? 1 : 0);
      // The record's text is kept terminated within its 129 bytes.
      const size_t n = strnlen(g_settings.NullValue, kNullValueMax);
      std::string nullValue(g_settings.NullValue, n);
      RegSetValueExA(k, "NullValue", 0, REG_SZ, reinterpret_cast<const BYTE*>(nullValue.c_str()),
                     static_cast<DWORD>(n + 1));
      BYTE display[kDisplaySettingsSize];
      WriteLE32(display, kDisplaySettingsVersion);
      for (int i = 0; i < kStoredWidthCount; ++i) {
        WriteLE32(display + 4 + 4 * i, static_cast<uint32_t>(g_settings.columnWidths[i]));
      }
      RegSetValueExA(k, "Display Settings", 0, REG_BINARY, display, sizeof display);
    }
  }
  // Released even when the key could not be made, so that detaching never
  // leaves the module's reference behind.
  if (g_richEdit) {
    FreeLibrary(g_richEdit);
    g_richEdit = nullptr;
  }
  return created;
}

bool LoadLogin(const char* dsn, char* user, int userSize, char* password, int passwordSize) {
  if (user && userSize > 0) user[0] = 0;
  if (password && passwordSize > 0) password[0] = 0;
  if (!dsn || !user || !password || userSize <= 0 || passwordSize <= 0) return false;

  RegKey key;
  if (!key.open(kLoginsKey)) return false;
  BYTE data[kLoginSize];
  DWORD type = 0;
  DWORD size = sizeof data;
  if (RegQueryValueExA(key.get(), dsn, nullptr, &type, data, &size) != ERROR_SUCCESS) return false;
  // Anything but the full 512 bytes is not a login of this layout.
  if (size != kLoginSize) {
    Wipe(data, sizeof data);
    return false;
  }

  for (size_t i = 1; i < kLoginSize; ++i) data[i] = static_cast<BYTE>(SwapNibbles(data[i]) ^ data[0]);

  bool ok = false;
  const int userLength = LoginTextLength(data, 1);
  if (userLength >= 0) {
    const size_t passwordOffset = 1 + 2 * (static_cast<size_t>(userLength) + 1);
    const int passwordLength = LoginTextLength(data, passwordOffset);
    ok = passwordLength >= 0 && userLength + 1 <= userSize && passwordLength + 1 <= passwordSize &&
         LoginTextToAnsi(data, 1, userLength, user, userSize) &&
         LoginTextToAnsi(data, passwordOffset, passwordLength, password, passwordSize);
  }
  Wipe(data, sizeof data);
  if (!ok) {
    user[0] = 0;
    password[0] = 0;
  }
  return ok;
}

bool SaveLogin(const char* dsn, const char* user, const char* password) {
  if (!dsn) return false;
  if (!user) user = "";
  if (!password) password = "";
  if (!*user && !*password) return DeleteLogin(dsn);

  char16_t wideUser[kLoginWideMax];
  char16_t widePassword[kLoginWideMax];
  const int userChars = ToWide(wideUser, user, kLoginWideMax);
  const int passwordChars = ToWide(widePassword, password, kLoginWideMax);
  // A text that cannot be converted, or a pair too long for the layout, is
  // refused: a cut or garbled login would fail later without telling why.
  bool ok = userChars > 0 && passwordChars > 0;
  const size_t userLength = ok ? static_cast<size_t>(userChars - 1) : 0;
  const size_t passwordLength = ok ? static_cast<size_t>(passwordChars - 1) : 0;
  if (ok && 2 * (userLength + passwordLength) > kLoginTextBytes) ok = false;  // even: at most 506

  BYTE data[kLoginSize];
  if (ok) {
    static LoginFiller filler;
    filler.fill(data, sizeof data);
    PutLoginText(data, 1, wideUser, userLength);
    PutLoginText(data, 1 + 2 * (userLength + 1), widePassword, passwordLength);
    for (size_t i = 1; i < kLoginSize; ++i) data[i] = SwapNibbles(static_cast<BYTE>(data[0] ^ data[i]));
    RegKey key;
    ok = key.create(kLoginsKey) &&
         RegSetValueExA(key.get(), dsn, 0, REG_BINARY, data, kLoginSize) == ERROR_SUCCESS;
  }
  Wipe(wideUser, sizeof wideUser);
  Wipe(widePassword, sizeof widePassword);
  Wipe(data, sizeof data);
  return ok;
}

bool DeleteLogin(const char* dsn) {
  if (!dsn) return false;
  RegKey key;
  if (!key.create(kLoginsKey)) return false;
  const LSTATUS status = RegDeleteValueA(key.get(), dsn);
  // Nothing saved is as good as deleted.
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

bool DeleteAllLogins() { return RegDeleteKeyA(HKEY_CURRENT_USER, kLoginsKey) == ERROR_SUCCESS; }
