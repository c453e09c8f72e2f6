// The objects behind HANDLE: every kernel object of this platform derives
// from PlatformHandle, so CloseHandle and WaitForSingleObject dispatch on the
// object and reject anything that is not a live handle of ours.
#pragma once

#include <memory>
#include <string>

#include "platform/sync/sync.h"

struct PlatformHandle {
  virtual ~PlatformHandle() = default;
  // WAIT_OBJECT_0, WAIT_TIMEOUT or WAIT_FAILED (with the last error set).
  virtual DWORD Wait(DWORD milliseconds) = 0;
};

namespace platform {

// Records a handle as live; CloseHandle and the waits accept only live ones.
HANDLE RegisterHandle(std::unique_ptr<PlatformHandle> object);
// The object of a live handle, kept alive for the caller even when another
// thread closes the handle meanwhile; null (ERROR_INVALID_HANDLE) otherwise.
std::shared_ptr<PlatformHandle> LookupHandle(HANDLE h);

// The file-system name of a named object: a directory private to the user
// (/dev/shm) and a prefix per object kind, with every byte outside
// [A-Za-z0-9._-] escaped as %XX so that any Windows object name
// (backslashes included) maps to exactly one file. Names too long for a file
// name give "".
std::string ObjectFileName(const char* kind, const char* name);

// Serialises creating, initialising and removing named objects between
// processes (an flock on one lock file per user). RAII.
class NamespaceLock {
 public:
  NamespaceLock();
  ~NamespaceLock();
  NamespaceLock(const NamespaceLock&) = delete;
  NamespaceLock& operator=(const NamespaceLock&) = delete;
  bool ok() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

}  // namespace platform
