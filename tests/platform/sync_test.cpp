// Events and named mutexes, within one process and between processes.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "platform/sync/sync.h"

namespace {

// Names unique to this run, so parallel test runs never meet.
std::string UniqueName(const char* what) { return std::string("DATROVA-TEST-") + what + "-" + std::to_string(getpid()); }

int WaitChild(pid_t pid) {
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -2;
}

}  // namespace

TEST(Events, ManualAndAutoReset) {
  HANDLE manual = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE autoReset = CreateEventA(nullptr, FALSE, TRUE, nullptr);
  ASSERT_NE(manual, nullptr);
  ASSERT_NE(autoReset, nullptr);

  EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_TIMEOUT);
  EXPECT_EQ(WaitForSingleObject(manual, 30), WAIT_TIMEOUT);
  EXPECT_TRUE(SetEvent(manual));
  EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_OBJECT_0) << "a manual-reset event stays signalled";
  EXPECT_TRUE(ResetEvent(manual));
  EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_TIMEOUT);

  EXPECT_EQ(WaitForSingleObject(autoReset, 0), WAIT_OBJECT_0) << "initially signalled";
  EXPECT_EQ(WaitForSingleObject(autoReset, 0), WAIT_TIMEOUT) << "an auto-reset event releases one wait";

  // A waiting thread is released by SetEvent from another.
  DWORD result = 0;
  std::thread waiter([&] { result = WaitForSingleObject(autoReset, INFINITE); });
  SetEvent(autoReset);
  waiter.join();
  EXPECT_EQ(result, WAIT_OBJECT_0);

  EXPECT_TRUE(CloseHandle(manual));
  EXPECT_TRUE(CloseHandle(autoReset));
  EXPECT_FALSE(CloseHandle(manual));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_FAILED);
  EXPECT_FALSE(SetEvent(reinterpret_cast<HANDLE>(0x10)));
}

TEST(Events, NamedEventIsSharedAndGoesWithItsLastHandle) {
  const std::string name = UniqueName("ev");
  SetLastError(0);
  EXPECT_EQ(OpenEventA(SYNCHRONIZE, FALSE, name.c_str()), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

  HANDLE a = CreateEventA(nullptr, TRUE, FALSE, name.c_str());
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  // Creating it again opens it, keeping its state and its reset mode.
  HANDLE b = CreateEventA(nullptr, FALSE, TRUE, name.c_str());
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  EXPECT_EQ(WaitForSingleObject(b, 0), WAIT_TIMEOUT);
  SetEvent(a);
  EXPECT_EQ(WaitForSingleObject(b, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(b, 0), WAIT_OBJECT_0) << "still manual-reset";
  CloseHandle(a);
  CloseHandle(b);
  EXPECT_EQ(OpenEventA(SYNCHRONIZE, FALSE, name.c_str()), nullptr) << "gone with the last handle";
}

TEST(Events, SignalReachesAnotherProcess) {
  const std::string name = UniqueName("xproc");
  HANDLE ev = CreateEventA(nullptr, TRUE, FALSE, name.c_str());
  ASSERT_NE(ev, nullptr);
  int toParent[2];
  ASSERT_EQ(pipe(toParent), 0);
  pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    HANDLE h = OpenEventA(SYNCHRONIZE, FALSE, name.c_str());
    if (!h) _exit(3);
    char ready = 'r';
    if (write(toParent[1], &ready, 1) != 1) _exit(4);
    DWORD r = WaitForSingleObject(h, 10000);
    if (r != WAIT_OBJECT_0) _exit(5);
    // Answer: reset the event, the parent sees it.
    ResetEvent(h);
    CloseHandle(h);
    _exit(0);
  }
  char ready = 0;
  ASSERT_EQ(read(toParent[0], &ready, 1), 1);
  EXPECT_TRUE(SetEvent(ev));
  EXPECT_EQ(WaitChild(pid), 0);
  EXPECT_EQ(WaitForSingleObject(ev, 0), WAIT_TIMEOUT) << "the child's reset is visible here";
  close(toParent[0]);
  close(toParent[1]);
  CloseHandle(ev);
}

TEST(Events, WaitInOtherProcessTimesOut) {
  const std::string name = UniqueName("timeout");
  HANDLE ev = CreateEventA(nullptr, FALSE, FALSE, name.c_str());
  ASSERT_NE(ev, nullptr);
  pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    HANDLE h = OpenEventA(SYNCHRONIZE, FALSE, name.c_str());
    if (!h) _exit(3);
    _exit(WaitForSingleObject(h, 50) == WAIT_TIMEOUT ? 0 : 6);
  }
  EXPECT_EQ(WaitChild(pid), 0);
  CloseHandle(ev);
}

TEST(NamedMutex, ExistsWhileAnotherProcessHoldsItAndIsFreedWhenItDies) {
  const std::string name = UniqueName("mx");
  int toParent[2];
  ASSERT_EQ(pipe(toParent), 0);
  pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    HANDLE m = CreateMutexA(nullptr, TRUE, name.c_str());
    char ok = (m && GetLastError() == ERROR_SUCCESS) ? 'o' : 'x';
    if (write(toParent[1], &ok, 1) != 1) _exit(4);
    pause();  // holds the mutex until killed
    _exit(0);
  }
  char ok = 0;
  ASSERT_EQ(read(toParent[0], &ok, 1), 1);
  ASSERT_EQ(ok, 'o');

  HANDLE m = CreateMutexA(nullptr, TRUE, name.c_str());
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  EXPECT_EQ(WaitForSingleObject(m, 50), WAIT_TIMEOUT) << "the child owns it";
  EXPECT_FALSE(ReleaseMutex(m)) << "not the owner";

  kill(pid, SIGKILL);
  EXPECT_EQ(WaitChild(pid), -2);
  EXPECT_EQ(WaitForSingleObject(m, 5000), WAIT_OBJECT_0) << "released by the holder's death";
  EXPECT_EQ(WaitForSingleObject(m, 0), WAIT_OBJECT_0) << "recursive for its owner";
  EXPECT_TRUE(ReleaseMutex(m));
  EXPECT_TRUE(ReleaseMutex(m));
  EXPECT_FALSE(ReleaseMutex(m));
  CloseHandle(m);

  HANDLE again = CreateMutexA(nullptr, TRUE, name.c_str());
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS)) << "nobody holds the name any more";
  CloseHandle(again);
  close(toParent[0]);
  close(toParent[1]);
}

TEST(NamedMutex, OtherThreadWaitsForOwner) {
  const std::string name = UniqueName("mxthread");
  HANDLE m = CreateMutexA(nullptr, TRUE, name.c_str());
  ASSERT_NE(m, nullptr);
  std::atomic<DWORD> first{0}, second{0};
  std::thread t([&] {
    first = WaitForSingleObject(m, 20);
    second = WaitForSingleObject(m, 5000);
    if (second == WAIT_OBJECT_0) ReleaseMutex(m);
  });
  while (first == 0 && second == 0) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_TRUE(ReleaseMutex(m));
  t.join();
  EXPECT_EQ(first, WAIT_TIMEOUT);
  EXPECT_EQ(second, WAIT_OBJECT_0);
  CloseHandle(m);
}
