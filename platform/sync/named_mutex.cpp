// Named mutexes between processes, built on flock so that the kernel lets go
// of everything a process held when it dies:
// - "<name>" is held with a shared lock by every handle; the name exists
//   while someone holds it (creating it while another handle holds it
//   reports ERROR_ALREADY_EXISTS);
// - "<name>.own" is held with an exclusive lock by the owning handle.
// Ownership belongs to a thread and is recursive, as on Windows; threads of
// one process queue on the handle before they contend for the file lock.
// An unnamed mutex uses unlinked files of its own.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/sync/kernel_object.h"

namespace {

constexpr DWORD kErrorNotOwner = 288;  // ERROR_NOT_OWNER

std::string ShmPath(const std::string& name) { return "/dev/shm" + name; }

class NamedMutex final : public PlatformHandle {
 public:
  NamedMutex(int nameFd, int ownFd, std::string path) : nameFd_(nameFd), ownFd_(ownFd), path_(std::move(path)) {}

  ~NamedMutex() override {
    // Closing while owned abandons the mutex: the file lock goes with the fd.
    if (!path_.empty()) {
      platform::NamespaceLock lock;
      if (lock.ok() && flock(nameFd_, LOCK_EX | LOCK_NB) == 0) {
        unlink(path_.c_str());
        unlink((path_ + ".own").c_str());
      }
    }
    close(ownFd_);
    if (nameFd_ >= 0) close(nameFd_);
  }

  DWORD Wait(DWORD milliseconds) override {
    const auto me = std::this_thread::get_id();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    std::unique_lock<std::mutex> g(local_);
    if (owner_ == me) {
      ++recursion_;
      return WAIT_OBJECT_0;
    }
    // First the turn among this handle's threads ...
    while (claimed_) {
      if (milliseconds == INFINITE) {
        free_.wait(g);
      } else if (free_.wait_until(g, deadline) == std::cv_status::timeout && claimed_) {
        return WAIT_TIMEOUT;
      }
    }
    claimed_ = true;
    g.unlock();
    // ... then the file lock against other handles and processes.
    bool got = false;
    if (milliseconds == INFINITE) {
      while (!(got = flock(ownFd_, LOCK_EX) == 0) && errno == EINTR) {
      }
    } else {
      for (;;) {
        if (flock(ownFd_, LOCK_EX | LOCK_NB) == 0) {
          got = true;
          break;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) break;
        if (std::chrono::steady_clock::now() >= deadline) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
      }
    }
    g.lock();
    if (!got) {
      claimed_ = false;
      free_.notify_one();
      return WAIT_TIMEOUT;
    }
    owner_ = me;
    recursion_ = 1;
    return WAIT_OBJECT_0;
  }

  bool TryAcquire() { return Wait(0) == WAIT_OBJECT_0; }

  BOOL Release() {
    std::lock_guard<std::mutex> g(local_);
    if (owner_ != std::this_thread::get_id()) {
      SetLastError(kErrorNotOwner);
      return FALSE;
    }
    if (--recursion_ == 0) {
      flock(ownFd_, LOCK_UN);
      owner_ = std::thread::id();
      claimed_ = false;
      free_.notify_one();
    }
    return TRUE;
  }

 private:
  int nameFd_;  // -1 for an unnamed mutex
  int ownFd_;
  std::string path_;  // "" for an unnamed mutex
  std::mutex local_;
  std::condition_variable free_;
  bool claimed_ = false;  // a thread of this handle owns or is acquiring
  std::thread::id owner_;
  int recursion_ = 0;
};

int OpenLockFile(const std::string& path) { return open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600); }

}  // namespace

extern "C" {

HANDLE CreateMutexA(LPSECURITY_ATTRIBUTES /*lpMutexAttributes*/, BOOL bInitialOwner, LPCSTR lpName) {
  int nameFd = -1, ownFd = -1;
  std::string path;
  bool existed = false;
  if (lpName && *lpName) {
    std::string file = platform::ObjectFileName("mx", lpName);
    if (file.empty()) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return nullptr;
    }
    path = ShmPath(file);
    platform::NamespaceLock lock;
    if (!lock.ok()) {
      SetLastError(ERROR_ACCESS_DENIED);
      return nullptr;
    }
    nameFd = OpenLockFile(path);
    ownFd = nameFd >= 0 ? OpenLockFile(path + ".own") : -1;
    if (nameFd < 0 || ownFd < 0) {
      if (nameFd >= 0) close(nameFd);
      SetLastError(ERROR_ACCESS_DENIED);
      return nullptr;
    }
    // Another live handle (in any process) holds the name: it exists.
    existed = flock(nameFd, LOCK_EX | LOCK_NB) != 0;
    flock(nameFd, LOCK_SH);
  } else {
    // Unnamed: a private, already unlinked file that nobody else can open.
    char tmpl[] = "/dev/shm/datrova-mutex-XXXXXX";
    ownFd = mkostemp(tmpl, O_CLOEXEC);
    if (ownFd < 0) {
      SetLastError(ERROR_ACCESS_DENIED);
      return nullptr;
    }
    unlink(tmpl);
  }
  auto mutex = std::make_unique<NamedMutex>(nameFd, ownFd, path);
  // Windows: the initial owner asked for is granted only to the creator.
  if (bInitialOwner && !existed) mutex->TryAcquire();
  HANDLE h = platform::RegisterHandle(std::move(mutex));
  SetLastError(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  return h;
}

BOOL ReleaseMutex(HANDLE hMutex) {
  auto object = platform::LookupHandle(hMutex);
  if (!object) return FALSE;
  auto* m = dynamic_cast<NamedMutex*>(object.get());
  if (!m) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return m->Release();
}
}
