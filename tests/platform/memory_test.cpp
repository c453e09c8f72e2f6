// Task allocator, process heap, system messages and the shell's special
// folder lists.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <thread>
#include <vector>

#include "platform/com/shlobj.h"
#include "platform/com/winbase.h"

TEST(TaskAllocator, CountsBlocksAndRecognisesItsOwn) {
  const long before = PlatformTaskAllocatorLiveBlocks();
  IMalloc* a = nullptr;
  IMalloc* b = nullptr;
  ASSERT_EQ(SHGetMalloc(&a), S_OK);
  ASSERT_EQ(SHGetMalloc(&b), S_OK);
  EXPECT_EQ(a, b) << "one allocator per process";

  void* p = a->Alloc(10);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(PlatformTaskAllocatorLiveBlocks(), before + 1);
  EXPECT_EQ(a->GetSize(p), 10u);
  EXPECT_EQ(a->DidAlloc(p), 1);
  int local = 0;
  EXPECT_EQ(a->DidAlloc(&local), 0);

  std::memset(p, 0x5A, 10);
  void* q = CoTaskMemRealloc(p, 4000);
  ASSERT_NE(q, nullptr);
  EXPECT_EQ(a->GetSize(q), 4000u);
  EXPECT_EQ(static_cast<unsigned char*>(q)[9], 0x5A) << "realloc keeps the contents";
  EXPECT_EQ(PlatformTaskAllocatorLiveBlocks(), before + 1);

  // A block from the other heap is not the task allocator's to free.
  HGLOBAL g = GlobalAlloc(GPTR, 8);
  EXPECT_EQ(a->DidAlloc(g), 0);
  CoTaskMemFree(g);
  EXPECT_EQ(GlobalSize(g), 8u);
  EXPECT_EQ(GlobalFree(g), nullptr);

  a->Free(q);
  CoTaskMemFree(nullptr);
  EXPECT_EQ(PlatformTaskAllocatorLiveBlocks(), before);

  // Releasing every reference never destroys the process's allocator.
  a->Release();
  b->Release();
  b->Release();
  void* r = CoTaskMemAlloc(1);
  ASSERT_NE(r, nullptr);
  CoTaskMemFree(r);
  EXPECT_EQ(PlatformTaskAllocatorLiveBlocks(), before);
}

TEST(TaskAllocator, CountIsExactUnderConcurrentUse) {
  const long before = PlatformTaskAllocatorLiveBlocks();
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([] {
      for (int i = 0; i < 5000; ++i) {
        void* p = CoTaskMemAlloc(static_cast<SIZE_T>(i % 64 + 1));
        p = CoTaskMemRealloc(p, 128);
        CoTaskMemFree(p);
      }
    });
  for (auto& t : threads) t.join();
  EXPECT_EQ(PlatformTaskAllocatorLiveBlocks(), before);
}

TEST(ProcessHeap, ZeroInitSizeAndInvalidFree) {
  const long before = PlatformHeapLiveBlocks();
  auto* p = static_cast<unsigned char*>(GlobalAlloc(GPTR, 100));
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(PlatformHeapLiveBlocks(), before + 1);
  for (int i = 0; i < 100; ++i) ASSERT_EQ(p[i], 0) << "byte " << i;
  EXPECT_EQ(GlobalSize(p), 100u);
  EXPECT_EQ(GlobalFree(p), nullptr);
  EXPECT_EQ(PlatformHeapLiveBlocks(), before);

  void* task = CoTaskMemAlloc(4);
  EXPECT_EQ(GlobalFree(task), task) << "a foreign block is handed back";
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  CoTaskMemFree(task);
}

TEST(LastError, IsPerThread) {
  SetLastError(ERROR_ACCESS_DENIED);
  DWORD seen = 1;
  std::thread([&] { seen = GetLastError(); }).join();
  EXPECT_EQ(seen, 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

TEST(FormatMessage, SystemTexts) {
  char buf[256];
  DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                           ERROR_FILE_NOT_FOUND, 0, buf, sizeof buf, nullptr);
  EXPECT_EQ(std::string(buf), "The system cannot find the file specified.\r\n");
  EXPECT_EQ(n, std::strlen(buf));

  // errno values that are no Windows code give the C library's text.
  n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, ENOTDIR, 0, buf, sizeof buf, nullptr);
  ASSERT_GT(n, 2u);
  EXPECT_NE(std::string(buf).find("directory"), std::string::npos) << buf;

  EXPECT_EQ(FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, 0xDEAD0, 0, buf, sizeof buf, nullptr), 0u);
  EXPECT_EQ(FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, ERROR_FILE_NOT_FOUND, 0, buf, 10, nullptr), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
}

TEST(SpecialFolders, MyComputerAndDesktopLists) {
  const long before = PlatformTaskAllocatorLiveBlocks();
  LPITEMIDLIST pidl = nullptr;
  ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &pidl), S_OK);
  const BYTE expected[22] = {0x14, 0x00, 0x1F, 0x50, 0xE0, 0x4F, 0xD0, 0x20, 0xEA, 0x3A, 0x69,
                             0x10, 0xA2, 0xD8, 0x08, 0x00, 0x2B, 0x30, 0x30, 0x9D, 0x00, 0x00};
  EXPECT_EQ(std::memcmp(pidl, expected, sizeof expected), 0);
  // The CLSID bytes are {20D04FE0-3AEA-1069-A2D8-08002B30309D} in memory order.
  GUID clsid;
  std::memcpy(&clsid, reinterpret_cast<BYTE*>(pidl) + 4, sizeof clsid);
  char text[40];
  StringFromGUID2A(clsid, text, sizeof text);
  EXPECT_STREQ(text, "{20D04FE0-3AEA-1069-A2D8-08002B30309D}");
  IMalloc* m = nullptr;
  SHGetMalloc(&m);
  EXPECT_EQ(m->GetSize(pidl), 22u);
  m->Release();
  CoTaskMemFree(pidl);

  ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &pidl), S_OK);
  EXPECT_EQ(pidl->mkid.cb, 0);
  CoTaskMemFree(pidl);

  EXPECT_EQ(SHGetSpecialFolderLocation(nullptr, 0x0005, &pidl), E_INVALIDARG);
  EXPECT_EQ(pidl, nullptr);
  EXPECT_EQ(PlatformTaskAllocatorLiveBlocks(), before);
}

namespace {
struct CountingUnknown : IUnknown {
  int releases = 0;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(++releases); }
};
}  // namespace

TEST(StgMedium, ReleaseFreesOrDelegates) {
  const long before = PlatformHeapLiveBlocks();
  STGMEDIUM medium{};
  medium.tymed = TYMED_HGLOBAL;
  medium.hGlobal = GlobalAlloc(GMEM_FIXED, 16);
  ReleaseStgMedium(&medium);
  EXPECT_EQ(PlatformHeapLiveBlocks(), before);
  EXPECT_EQ(medium.tymed, TYMED_NULL);

  CountingUnknown owner;
  medium.tymed = TYMED_HGLOBAL;
  medium.hGlobal = GlobalAlloc(GMEM_FIXED, 16);
  medium.pUnkForRelease = &owner;
  HGLOBAL kept = medium.hGlobal;
  ReleaseStgMedium(&medium);
  EXPECT_EQ(owner.releases, 1);
  EXPECT_EQ(PlatformHeapLiveBlocks(), before + 1) << "the owner frees the block, not the caller";
  GlobalFree(kept);
}
