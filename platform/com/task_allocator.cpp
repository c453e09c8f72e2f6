// The process-wide task allocator: one IMalloc object shared by every module
// of the process, over a counted heap so that GetSize/DidAlloc recognise
// their own blocks and the live-block count finds leaks. The object itself
// is never destroyed.
#include <atomic>

#include "platform/com/counted_heap.h"
#include "platform/com/unknwn.h"

namespace {

// Never destroyed: modules may still free blocks from their exit handlers.
platform::CountedHeap& Heap() {
  static auto* heap = new platform::CountedHeap(0x44524F56544D414CULL);  // "DROVTMAL"
  return *heap;
}

class TaskAllocator final : public IMalloc {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IMalloc)) return E_NOINTERFACE;
    *ppv = static_cast<IMalloc*>(this);
    AddRef();
    return S_OK;
  }
  // The singleton lives as long as the process: the count is kept only so
  // that AddRef/Release return plausible values; reaching 0 frees nothing.
  ULONG STDMETHODCALLTYPE AddRef() override { return refs_.fetch_add(1) + 1; }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG cur = refs_.load();
    while (cur > 1 && !refs_.compare_exchange_weak(cur, cur - 1)) {
    }
    return cur > 1 ? cur - 1 : 1;
  }
  void* STDMETHODCALLTYPE Alloc(SIZE_T cb) override { return Heap().Alloc(cb, false); }
  void* STDMETHODCALLTYPE Realloc(void* pv, SIZE_T cb) override { return Heap().Realloc(pv, cb); }
  void STDMETHODCALLTYPE Free(void* pv) override { Heap().Free(pv); }
  SIZE_T STDMETHODCALLTYPE GetSize(void* pv) override {
    return Heap().Size(pv);  // (SIZE_T)-1 for a foreign block, as IMalloc says
  }
  int STDMETHODCALLTYPE DidAlloc(void* pv) override {
    if (!pv) return -1;
    return Heap().Owns(pv) ? 1 : 0;
  }
  void STDMETHODCALLTYPE HeapMinimize() override {}

 private:
  std::atomic<ULONG> refs_{1};  // the process's own reference
};

TaskAllocator& Allocator() {
  // Constructed on first use and never destroyed: modules may still free
  // blocks from their exit handlers.
  static TaskAllocator* instance = new TaskAllocator;
  return *instance;
}

}  // namespace

extern "C" {

HRESULT SHGetMalloc(IMalloc** ppMalloc) {
  if (!ppMalloc) return E_INVALIDARG;
  TaskAllocator& a = Allocator();
  a.AddRef();
  *ppMalloc = &a;
  return S_OK;
}

void* CoTaskMemAlloc(SIZE_T cb) { return Heap().Alloc(cb, false); }
void* CoTaskMemRealloc(void* pv, SIZE_T cb) { return Heap().Realloc(pv, cb); }
void CoTaskMemFree(void* pv) { Heap().Free(pv); }
long PlatformTaskAllocatorLiveBlocks(void) { return Heap().Live(); }
}
