// The host's own copy of an item identifier list: the bytes of the items
// followed by the 2-byte terminator. Lists that come from extensions are
// walked with every cb checked (at least 2, inside the size limit), never by
// casting over the bytes.
#pragma once

#include <QByteArray>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/com/shlobj.h"

class IdList {
 public:
  // Upper bound for lists read from outside; longer ones are refused.
  static constexpr size_t kMaxBytes = 64 * 1024;

  IdList();  // the empty list (terminator only)
  // A copy of a list handed over by an extension; nullopt when it is
  // malformed (an item with cb 1, or no terminator within kMaxBytes). A null
  // pointer gives the empty list.
  static std::optional<IdList> fromRaw(LPCITEMIDLIST pidl);
  static std::optional<IdList> fromBytes(const QByteArray& bytes);

  LPCITEMIDLIST get() const { return reinterpret_cast<LPCITEMIDLIST>(bytes_.data()); }
  QByteArray toBytes() const;  // including the terminator
  size_t byteSize() const { return bytes_.size(); }  // including the terminator
  size_t itemCount() const { return offsets_.size(); }
  bool isEmpty() const { return offsets_.empty(); }

  IdList first(size_t count) const;  // the first `count` items
  IdList from(size_t index) const;   // the items from `index` on
  IdList parent() const { return first(itemCount() ? itemCount() - 1 : 0); }
  IdList last() const { return from(itemCount() ? itemCount() - 1 : 0); }
  IdList operator+(const IdList& tail) const;
  bool startsWith(const IdList& prefix) const;
  // The raw bytes of item `index` (without cb).
  std::vector<BYTE> itemPayload(size_t index) const;

  // A stable text key (FNV-1a 64 over the bytes, 16 hex digits).
  std::string hashKey() const;

  friend bool operator==(const IdList& a, const IdList& b) { return a.bytes_ == b.bytes_; }

 private:
  void reindex();
  std::vector<BYTE> bytes_;
  std::vector<size_t> offsets_;  // start of each item
};
