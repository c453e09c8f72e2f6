// Reads the hive files of the current test world back, as another program
// would find them on disk, independent of the registry cache of this process.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/registry/key_tree.h"

class HiveSnapshot {
 public:
  // Reads "<registryDir>/<hiveName>.reg"; a missing file is an empty hive.
  HiveSnapshot(const std::string& registryDir, const std::string& hiveName);

  bool damaged() const { return damaged_; }
  bool HasKey(const std::string& path) const;
  // The REG_SZ text of a value ("" is the default value); nothing when the
  // key or value is missing or the value is of another type.
  std::optional<std::string> Text(const std::string& path, const std::string& value) const;
  std::optional<uint32_t> Dword(const std::string& path, const std::string& value) const;
  // Number of values of a key (-1 when the key is missing).
  int ValueCount(const std::string& path) const;
  // Every key below the root, as "A\B\C", in file order.
  std::vector<std::string> AllKeys() const;

 private:
  const platform::registry::RegKey* Find(const std::string& path) const;
  platform::registry::RegKey root_;
  bool damaged_ = false;
};
