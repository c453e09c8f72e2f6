// Small helpers shared by the item tests: the bytes of a list, an owner that
// frees a list, and a copy of bytes into a block of exactly their size (so
// that AddressSanitizer sees any read beyond it).
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "library/catalog/item_id.h"

using Bytes = std::vector<uint8_t>;

struct IdListDeleter {
  void operator()(ITEMIDLIST* list) const { FreeIdList(list); }
};
using IdListPtr = std::unique_ptr<ITEMIDLIST, IdListDeleter>;

inline Bytes ListBytes(LPCITEMIDLIST list) {
  const size_t n = GetIdListSize(list);
  const auto* p = reinterpret_cast<const uint8_t*>(list);
  return Bytes(p, p + n);
}

// A heap block of exactly bytes.size() bytes holding the bytes.
inline std::unique_ptr<uint8_t[]> ExactCopy(const Bytes& bytes) {
  std::unique_ptr<uint8_t[]> block(new uint8_t[bytes.empty() ? 1 : bytes.size()]);
  if (!bytes.empty()) std::memcpy(block.get(), bytes.data(), bytes.size());
  return block;
}

inline LPCITEMIDLIST AsList(const uint8_t* p) { return reinterpret_cast<LPCITEMIDLIST>(p); }
