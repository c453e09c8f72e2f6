// Events in shared memory. A named event is a POSIX shared memory segment
// holding a process-shared robust mutex, a condition variable on the
// monotonic clock and the event's state; an unnamed event is the same
// structure in anonymous shared memory (so it also survives a fork).
//
// Lifetime across processes: every handle holds a shared flock on its
// segment. Creating, initialising and removing segments happens under the
// namespace lock; the handle that closes while nobody else holds the segment
// removes the name, so the event goes away with its last handle as on
// Windows, and a segment left by a crashed process (no holder) is taken as
// absent.
#include <fcntl.h>
#include <pthread.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

#include "platform/sync/kernel_object.h"

namespace {

constexpr uint32_t kMagic = 0x44455654;  // "DEVT"

struct EventState {
  uint32_t magic;
  uint32_t manualReset;
  uint32_t signaled;
  pthread_mutex_t mutex;
  pthread_cond_t cond;
};

void InitState(EventState* s, bool manualReset, bool initialState) {
  pthread_mutexattr_t ma;
  pthread_mutexattr_init(&ma);
  pthread_mutexattr_setpshared(&ma, PTHREAD_PROCESS_SHARED);
  pthread_mutexattr_setrobust(&ma, PTHREAD_MUTEX_ROBUST);
  pthread_mutex_init(&s->mutex, &ma);
  pthread_mutexattr_destroy(&ma);
  pthread_condattr_t ca;
  pthread_condattr_init(&ca);
  pthread_condattr_setpshared(&ca, PTHREAD_PROCESS_SHARED);
  pthread_condattr_setclock(&ca, CLOCK_MONOTONIC);
  pthread_cond_init(&s->cond, &ca);
  pthread_condattr_destroy(&ca);
  s->manualReset = manualReset ? 1 : 0;
  s->signaled = initialState ? 1 : 0;
  s->magic = kMagic;
}

// Locks the state's mutex; a holder that died while holding it leaves the
// state as it was (every change is one store), so it is made consistent.
class StateLock {
 public:
  explicit StateLock(EventState* s) : s_(s) {
    if (pthread_mutex_lock(&s_->mutex) == EOWNERDEAD) pthread_mutex_consistent(&s_->mutex);
  }
  ~StateLock() { pthread_mutex_unlock(&s_->mutex); }
  StateLock(const StateLock&) = delete;
  StateLock& operator=(const StateLock&) = delete;

 private:
  EventState* s_;
};

class SharedEvent final : public PlatformHandle {
 public:
  SharedEvent(EventState* state, int fd, std::string name) : state_(state), fd_(fd), name_(std::move(name)) {}
  ~SharedEvent() override {
    if (fd_ >= 0) {
      platform::NamespaceLock lock;
      // The last holder removes the name (conversion to an exclusive lock
      // succeeds only when no other handle holds the segment).
      if (lock.ok() && flock(fd_, LOCK_EX | LOCK_NB) == 0) shm_unlink(name_.c_str());
      close(fd_);
    }
    munmap(state_, sizeof(EventState));
  }

  void Set() {
    StateLock g(state_);
    state_->signaled = 1;
    if (state_->manualReset)
      pthread_cond_broadcast(&state_->cond);
    else
      pthread_cond_signal(&state_->cond);
  }

  void Reset() {
    StateLock g(state_);
    state_->signaled = 0;
  }

  DWORD Wait(DWORD milliseconds) override {
    timespec deadline{};
    if (milliseconds != INFINITE) {
      clock_gettime(CLOCK_MONOTONIC, &deadline);
      deadline.tv_sec += milliseconds / 1000;
      deadline.tv_nsec += static_cast<long>(milliseconds % 1000) * 1000000L;
      if (deadline.tv_nsec >= 1000000000L) {
        deadline.tv_sec += 1;
        deadline.tv_nsec -= 1000000000L;
      }
    }
    StateLock g(state_);
    while (!state_->signaled) {
      int rc = milliseconds == INFINITE ? pthread_cond_wait(&state_->cond, &state_->mutex)
                                        : pthread_cond_timedwait(&state_->cond, &state_->mutex, &deadline);
      if (rc == EOWNERDEAD) {
        pthread_mutex_consistent(&state_->mutex);
      } else if (rc == ETIMEDOUT) {
        if (state_->signaled) break;
        return WAIT_TIMEOUT;
      } else if (rc != 0) {
        SetLastError(ERROR_INVALID_HANDLE);
        return WAIT_FAILED;
      }
    }
    if (!state_->manualReset) state_->signaled = 0;  // an auto-reset event releases one waiter
    return WAIT_OBJECT_0;
  }

 private:
  EventState* state_;
  int fd_;            // -1 for an unnamed event
  std::string name_;  // shm name of a named event
};

EventState* MapState(int fd) {
  void* p = mmap(nullptr, sizeof(EventState), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  return p == MAP_FAILED ? nullptr : static_cast<EventState*>(p);
}

DWORD ErrnoToWin(int e) {
  switch (e) {
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case EACCES:
    case EPERM: return ERROR_ACCESS_DENIED;
    case ENOMEM:
    case ENOSPC: return ERROR_NOT_ENOUGH_MEMORY;
    default: return ERROR_INVALID_PARAMETER;
  }
}

// Opens (create = false) or opens-or-creates a named event. `existed` tells
// whether a live event of that name was there before.
HANDLE OpenNamed(const char* name, bool create, bool manualReset, bool initialState, bool& existed) {
  existed = false;
  std::string shmName = platform::ObjectFileName("ev", name);
  if (shmName.empty()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  platform::NamespaceLock lock;
  if (!lock.ok()) {
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
  }
  int fd = shm_open(shmName.c_str(), O_RDWR | O_CLOEXEC | (create ? O_CREAT : 0), 0600);
  if (fd < 0) {
    SetLastError(ErrnoToWin(errno));
    return nullptr;
  }
  struct stat st {};
  fstat(fd, &st);
  // No other holder: the segment is new, or left by a process that died.
  const bool abandoned = flock(fd, LOCK_EX | LOCK_NB) == 0;
  if (abandoned && !create) {
    shm_unlink(shmName.c_str());
    close(fd);
    SetLastError(ERROR_FILE_NOT_FOUND);
    return nullptr;
  }
  if (abandoned && static_cast<size_t>(st.st_size) != sizeof(EventState) &&
      ftruncate(fd, sizeof(EventState)) != 0) {
    SetLastError(ErrnoToWin(errno));
    shm_unlink(shmName.c_str());
    close(fd);
    return nullptr;
  }
  EventState* state = MapState(fd);
  if (!state) {
    SetLastError(ErrnoToWin(errno));
    if (abandoned) shm_unlink(shmName.c_str());
    close(fd);
    return nullptr;
  }
  if (abandoned) {
    InitState(state, manualReset, initialState);
  } else if (state->magic != kMagic) {
    // Held by someone but not an event of ours: refuse rather than use it.
    munmap(state, sizeof(EventState));
    close(fd);
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  } else {
    existed = true;
  }
  flock(fd, LOCK_SH);  // this handle now holds the segment
  return platform::RegisterHandle(std::make_unique<SharedEvent>(state, fd, shmName));
}

SharedEvent* AsEvent(const std::shared_ptr<PlatformHandle>& h) {
  auto* e = dynamic_cast<SharedEvent*>(h.get());
  if (!e && h) SetLastError(ERROR_INVALID_HANDLE);
  return e;
}

}  // namespace

extern "C" {

HANDLE CreateEventA(LPSECURITY_ATTRIBUTES /*lpEventAttributes*/, BOOL bManualReset, BOOL bInitialState,
                    LPCSTR lpName) {
  if (lpName && *lpName) {
    bool existed = false;
    HANDLE h = OpenNamed(lpName, true, bManualReset != 0, bInitialState != 0, existed);
    // Windows: opening an existing event keeps its state and reset mode and
    // reports it through the last error.
    if (h) SetLastError(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return h;
  }
  void* p = mmap(nullptr, sizeof(EventState), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
  if (p == MAP_FAILED) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  auto* state = static_cast<EventState*>(p);
  InitState(state, bManualReset != 0, bInitialState != 0);
  SetLastError(ERROR_SUCCESS);
  return platform::RegisterHandle(std::make_unique<SharedEvent>(state, -1, std::string()));
}

HANDLE OpenEventA(DWORD /*dwDesiredAccess*/, BOOL /*bInheritHandle*/, LPCSTR lpName) {
  if (!lpName || !*lpName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  bool existed = false;
  return OpenNamed(lpName, false, true, false, existed);
}

BOOL SetEvent(HANDLE hEvent) {
  auto object = platform::LookupHandle(hEvent);
  SharedEvent* e = AsEvent(object);
  if (!e) return FALSE;
  e->Set();
  return TRUE;
}

BOOL ResetEvent(HANDLE hEvent) {
  auto object = platform::LookupHandle(hEvent);
  SharedEvent* e = AsEvent(object);
  if (!e) return FALSE;
  e->Reset();
  return TRUE;
}
}
