// The table of live handles, the generic handle functions, and the naming
// and locking shared by the named objects.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <map>
#include <mutex>

#include "platform/sync/kernel_object.h"

namespace {

struct HandleTable {
  std::mutex lock;
  std::map<HANDLE, std::shared_ptr<PlatformHandle>> live;
};

HandleTable& Table() {
  static auto* t = new HandleTable;  // handles may be closed from exit handlers
  return *t;
}

}  // namespace

namespace platform {

HANDLE RegisterHandle(std::unique_ptr<PlatformHandle> object) {
  std::shared_ptr<PlatformHandle> shared(std::move(object));
  HANDLE h = shared.get();
  std::lock_guard<std::mutex> g(Table().lock);
  Table().live.emplace(h, std::move(shared));
  return h;
}

std::shared_ptr<PlatformHandle> LookupHandle(HANDLE h) {
  std::lock_guard<std::mutex> g(Table().lock);
  auto it = Table().live.find(h);
  if (it == Table().live.end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return it->second;
}

std::string ObjectFileName(const char* kind, const char* name) {
  std::string out = "/datrova-" + std::to_string(getuid()) + "-" + kind + "-";
  for (const char* p = name; *p; ++p) {
    unsigned char c = static_cast<unsigned char>(*p);
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '_' ||
        c == '-') {
      out.push_back(static_cast<char>(c));
    } else {
      char esc[4];
      std::snprintf(esc, sizeof esc, "%%%02X", c);
      out += esc;
    }
  }
  // Room for the ".own" suffix of a mutex within NAME_MAX.
  if (out.size() > 240) return {};
  return out;
}

NamespaceLock::NamespaceLock() {
  std::string path = "/dev/shm/datrova-" + std::to_string(getuid()) + "-namespace.lock";
  fd_ = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd_ >= 0) {
    while (flock(fd_, LOCK_EX) != 0) {
      if (errno != EINTR) {
        close(fd_);
        fd_ = -1;
        break;
      }
    }
  }
}

NamespaceLock::~NamespaceLock() {
  if (fd_ >= 0) close(fd_);  // closing the only descriptor releases the flock
}

}  // namespace platform

extern "C" {

DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds) {
  std::shared_ptr<PlatformHandle> object = platform::LookupHandle(hHandle);
  if (!object) return WAIT_FAILED;
  return object->Wait(dwMilliseconds);
}

BOOL CloseHandle(HANDLE hObject) {
  std::shared_ptr<PlatformHandle> object;
  {
    std::lock_guard<std::mutex> g(Table().lock);
    auto it = Table().live.find(hObject);
    if (it == Table().live.end()) {
      SetLastError(ERROR_INVALID_HANDLE);
      return FALSE;
    }
    object = std::move(it->second);
    Table().live.erase(it);
  }
  // Destroyed here, outside the table lock, unless a wait still uses it.
  return TRUE;
}
}
