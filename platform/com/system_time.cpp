// GetTickCount and Sleep.
#include <cerrno>
#include <ctime>

#include "platform/com/winbase.h"

extern "C" {

// Milliseconds of the monotonic clock; wraps after 49.7 days like Windows.
DWORD GetTickCount(void) {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<DWORD>(static_cast<uint64_t>(ts.tv_sec) * 1000u + static_cast<uint64_t>(ts.tv_nsec) / 1000000u);
}

void Sleep(DWORD ms) {
  timespec req{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
  timespec rem{};
  while (nanosleep(&req, &rem) == -1 && errno == EINTR) req = rem;
}
}
