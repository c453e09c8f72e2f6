// One hive kept in its file: the cached tree, brought up to date whenever the
// file changed (another process wrote it), and changes written through at
// once under an exclusive lock on "<hive>.lock": re-read, apply, write a
// temporary file, fsync, rename over the hive. A hive that could not be read
// completely is never replaced before a copy of it is kept beside it.
// Not thread-safe by itself: the registry serialises all calls.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <string>

#include "platform/registry/key_tree.h"
#include "platform/registry/registry.h"

namespace platform::registry {

// A hive file larger than this is not read beyond it (and counts as
// damaged); a change that would make the file larger is refused.
inline constexpr size_t kMaxHiveFileSize = 64u * 1024 * 1024;

// What identifies one version of the file: a rename gives a new inode, an
// edit in place a new size or modification time.
struct FileIdentity {
  bool exists = false;
  dev_t dev = 0;
  ino_t ino = 0;
  off_t size = 0;
  int64_t mtimeSec = 0, mtimeNsec = 0, ctimeSec = 0, ctimeNsec = 0;
  bool operator==(const FileIdentity&) const = default;
};

class HiveFile {
 public:
  // `fileMode` is what the hive file gets on every write (0600 for the user
  // hive, which holds saved logins).
  HiveFile(std::string directory, std::string hiveName, mode_t fileMode);

  // The tree as the file holds it now.
  RegKey& Current();

  // Runs `change` on the newest tree while holding the lock. When it returns
  // ERROR_SUCCESS and reports a change, the tree is written through; when
  // that fails, ERROR_CANTWRITE and the cache is dropped so that the next
  // call sees the file as it is.
  LSTATUS Modify(const std::function<LSTATUS(RegKey& root, bool* changed)>& change);

  const std::string& path() const { return path_; }
  bool damaged() const { return damaged_; }

 private:
  void RefreshIfChanged();
  void Load();
  bool EnsureDirectory();
  bool KeepDamagedCopy();
  void RemoveStaleTemporaries();
  bool WriteAtomically(const std::string& text);

  std::string directory_;
  std::string hiveName_;
  std::string path_;
  std::string lockPath_;
  mode_t fileMode_;
  bool loaded_ = false;
  // True when the file on disk holds more than the tree (bad lines, cut
  // short, unreadable): it is copied aside before it is replaced.
  bool damaged_ = false;
  FileIdentity identity_;
  RegKey root_;
};

// $DATROVA_REGISTRY, else ${XDG_CONFIG_HOME:-~/.config}/datrova/registry.
std::string RegistryDirectory();

}  // namespace platform::registry
