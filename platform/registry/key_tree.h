// The in-memory form of one hive: a tree of keys, each with its values.
// Names compare case-insensitively and keep the case they were first given;
// children and values are kept sorted by their folded names so that files
// and enumerations come out in one stable order.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace platform::registry {

// Windows' limits: a key name component holds at most 255 characters and
// keys nest at most 512 levels deep. The parser and the API both enforce
// them so that no file and no caller can build a tree deeper than that.
inline constexpr size_t kMaxKeyNameLength = 255;
inline constexpr size_t kMaxValueNameLength = 16383;
inline constexpr size_t kMaxKeyDepth = 512;

// The comparison form of a name: Unicode case folding for valid UTF-8,
// ASCII folding for bytes that are not valid UTF-8 (so that two different
// invalid names never collide on a replacement character).
std::string FoldName(std::string_view name);

struct RegValue {
  std::string name;  // as first given; "" is the default value
  uint32_t type = 0;
  // REG_SZ and REG_EXPAND_SZ hold the characters without the terminating
  // NUL (queries report it); every other type holds its bytes as given.
  std::string data;
};

struct RegKey {
  std::string name;                        // as first given
  std::map<std::string, RegKey> children;  // by folded name
  std::map<std::string, RegValue> values;  // by folded name

  RegKey* Child(std::string_view name);
  const RegKey* Child(std::string_view name) const;
  // Finds or adds a child; `created` tells which.
  RegKey& ChildOrAdd(std::string_view name, bool* created);
  const RegValue* Value(std::string_view name) const;
  // Sets a value, keeping the case of an existing value's name.
  void SetValue(std::string_view name, uint32_t type, std::string data);
  bool DeleteValue(std::string_view name);
};

// A key path below a hive root: its components, none empty.
using KeyPath = std::vector<std::string>;

// Splits "A\B\C" into its components. Empty components (a doubled, leading
// or trailing backslash) are skipped as Windows tolerates a trailing one.
// Returns false for a component longer than kMaxKeyNameLength, one holding a
// line break (it could not be written to a hive file) or a path deeper than
// kMaxKeyDepth.
bool SplitKeyPath(std::string_view text, KeyPath* out);

// Walks from `root` along `path`; null when a key on the way is missing.
RegKey* FindKey(RegKey& root, const KeyPath& path);

// True when `name` can be stored as a value name (no line breaks, within
// the length limit).
bool IsValidValueName(std::string_view name);

}  // namespace platform::registry
