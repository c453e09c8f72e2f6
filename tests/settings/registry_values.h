// Direct registry access for the settings tests: values are planted and read
// back through the platform's Reg* functions, not through the code under test.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "platform/registry/registry.h"

struct RawValue {
  DWORD type = REG_NONE;
  std::vector<uint8_t> data;
  bool operator==(const RawValue& o) const { return type == o.type && data == o.data; }
};

inline std::ostream& operator<<(std::ostream& os, const RawValue& v) {
  os << "type " << v.type << " [";
  for (uint8_t b : v.data) os << ' ' << static_cast<int>(b);
  return os << " ]";
}

inline bool KeyExists(const char* path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

// Type REG_NONE and no data when the value does not exist.
inline RawValue ReadRaw(const char* path, const char* name) {
  RawValue v;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return v;
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
    v.data.resize(size);
    if (RegQueryValueExA(key, name, nullptr, &type, v.data.data(), &size) == ERROR_SUCCESS) {
      v.type = type;
      v.data.resize(size);
    } else {
      v.data.clear();
    }
  }
  RegCloseKey(key);
  return v;
}

inline void SetRaw(const char* path, const char* name, DWORD type, const std::vector<uint8_t>& data) {
  HKEY key = nullptr;
  DWORD disposition = 0;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, &disposition),
            ERROR_SUCCESS);
  EXPECT_EQ(RegSetValueExA(key, name, 0, type, data.data(), static_cast<DWORD>(data.size())), ERROR_SUCCESS);
  RegCloseKey(key);
}

inline void SetString(const char* path, const char* name, const std::string& text) {
  SetRaw(path, name, REG_SZ, std::vector<uint8_t>(text.c_str(), text.c_str() + text.size() + 1));
}
inline void SetDwordValue(const char* path, const char* name, uint32_t v) {
  SetRaw(path, name, REG_DWORD,
         {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
          static_cast<uint8_t>(v >> 24)});
}
inline void SetBinary(const char* path, const char* name, const std::vector<uint8_t>& data) {
  SetRaw(path, name, REG_BINARY, data);
}

inline int32_t LE32(const std::vector<uint8_t>& d, size_t offset) {
  return static_cast<int32_t>(static_cast<uint32_t>(d[offset]) | (static_cast<uint32_t>(d[offset + 1]) << 8) |
                              (static_cast<uint32_t>(d[offset + 2]) << 16) |
                              (static_cast<uint32_t>(d[offset + 3]) << 24));
}
