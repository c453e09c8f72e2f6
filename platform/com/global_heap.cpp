// The process heap behind GlobalAlloc/GlobalFree: fixed blocks only (a
// GMEM_MOVEABLE request is served as a fixed block, whose handle is its
// address, which every caller here treats the same way).
#include "platform/com/counted_heap.h"
#include "platform/com/winbase.h"

namespace {
platform::CountedHeap& Heap() {
  static auto* heap = new platform::CountedHeap(0x44524F5647484541ULL);  // "DROVGHEA"
  return *heap;
}
}  // namespace

extern "C" {

HGLOBAL GlobalAlloc(UINT uFlags, SIZE_T dwBytes) {
  void* p = Heap().Alloc(dwBytes, (uFlags & GMEM_ZEROINIT) != 0);
  if (!p) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return p;
}

HGLOBAL GlobalFree(HGLOBAL hMem) {
  if (!hMem) return nullptr;
  if (!Heap().Free(hMem)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return hMem;  // failure: Windows hands the handle back
  }
  return nullptr;
}

HGLOBAL GlobalReAlloc(HGLOBAL hMem, SIZE_T dwBytes, UINT) {
  if (!hMem) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  void* p = Heap().Realloc(hMem, dwBytes == 0 ? 1 : dwBytes);
  if (!p) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return p;
}

SIZE_T GlobalSize(HGLOBAL hMem) {
  size_t n = Heap().Size(hMem);
  if (n == SIZE_MAX) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  return n;
}

long PlatformHeapLiveBlocks(void) { return Heap().Live(); }
}
