// A malloc-backed heap that counts its live blocks and recognises its own
// blocks by a small header in front of the caller's bytes. The task allocator
// and the GlobalAlloc heap are two instances with different magics, so a
// block handed to the wrong one is refused instead of corrupting either.
// Thread-safe: malloc underneath and an atomic count.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace platform {

class CountedHeap {
 public:
  explicit constexpr CountedHeap(uint64_t magic) : magic_(magic) {}

  void* Alloc(size_t cb, bool zero) {
    if (cb > SIZE_MAX - sizeof(Header)) return nullptr;
    auto* h = static_cast<Header*>(zero ? std::calloc(1, sizeof(Header) + cb) : std::malloc(sizeof(Header) + cb));
    if (!h) return nullptr;
    h->magic = magic_;
    h->size = cb;
    live_.fetch_add(1, std::memory_order_relaxed);
    return h + 1;
  }

  // Returns false for a block that is not a live block of this heap (a
  // foreign pointer or a double free); such a block is left untouched.
  bool Free(void* pv) {
    if (!Owns(pv)) return false;
    Header* h = HeaderOf(pv);
    h->magic = kFreedMagic;
    live_.fetch_sub(1, std::memory_order_relaxed);
    std::free(h);
    return true;
  }

  // realloc semantics; on failure the old block stays valid.
  void* Realloc(void* pv, size_t cb) {
    if (!pv) return Alloc(cb, false);
    if (cb == 0) {
      Free(pv);
      return nullptr;
    }
    if (!Owns(pv) || cb > SIZE_MAX - sizeof(Header)) return nullptr;
    auto* h = static_cast<Header*>(std::realloc(HeaderOf(pv), sizeof(Header) + cb));
    if (!h) return nullptr;
    h->size = cb;
    return h + 1;
  }

  // The caller's size, or SIZE_MAX for a block that is not ours.
  size_t Size(void* pv) const { return Owns(pv) ? static_cast<size_t>(HeaderOf(pv)->size) : SIZE_MAX; }

  // Reads the header in front of pv: only meaningful for pointers that came
  // from some allocator (as for the Windows functions this stands in for).
  bool Owns(void* pv) const {
    if (!pv || reinterpret_cast<uintptr_t>(pv) % alignof(Header) != 0) return false;
    return HeaderOf(pv)->magic == magic_;
  }

  long Live() const { return live_.load(std::memory_order_relaxed); }

 private:
  // 16 bytes keep the caller's bytes aligned for any fundamental type.
  struct alignas(16) Header {
    uint64_t magic;
    uint64_t size;  // bytes requested by the caller
  };
  static constexpr uint64_t kFreedMagic = 0x4652454544424C4BULL;
  static Header* HeaderOf(void* pv) { return static_cast<Header*>(pv) - 1; }

  const uint64_t magic_;
  std::atomic<long> live_{0};
};

}  // namespace platform
