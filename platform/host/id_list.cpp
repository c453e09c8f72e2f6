#include "platform/host/id_list.h"

#include <cstdio>
#include <cstring>

namespace {
// Reads the 16-bit little-endian cb at p.
size_t readCb(const BYTE* p) { return static_cast<size_t>(p[0]) | (static_cast<size_t>(p[1]) << 8); }

std::optional<std::vector<BYTE>> copyChecked(const BYTE* p, size_t available) {
  size_t pos = 0;
  for (;;) {
    if (pos + 2 > available) return std::nullopt;
    const size_t cb = readCb(p + pos);
    if (cb == 0) break;
    if (cb < 2 || cb > available - pos) return std::nullopt;
    pos += cb;
  }
  return std::vector<BYTE>(p, p + pos + 2);
}
}  // namespace

IdList::IdList() : bytes_{0, 0} {}

std::optional<IdList> IdList::fromRaw(LPCITEMIDLIST pidl) {
  if (!pidl) return IdList();
  // The extension's list has no known length; the walk stops at the
  // terminator, and kMaxBytes bounds how far it may go.
  auto bytes = copyChecked(reinterpret_cast<const BYTE*>(pidl), kMaxBytes);
  if (!bytes) return std::nullopt;
  IdList list;
  list.bytes_ = std::move(*bytes);
  list.reindex();
  return list;
}

std::optional<IdList> IdList::fromBytes(const QByteArray& data) {
  if (data.size() < 2 || static_cast<size_t>(data.size()) > kMaxBytes) return std::nullopt;
  auto bytes = copyChecked(reinterpret_cast<const BYTE*>(data.constData()), static_cast<size_t>(data.size()));
  if (!bytes || bytes->size() != static_cast<size_t>(data.size())) return std::nullopt;
  IdList list;
  list.bytes_ = std::move(*bytes);
  list.reindex();
  return list;
}

void IdList::reindex() {
  offsets_.clear();
  size_t pos = 0;
  while (pos + 2 <= bytes_.size()) {
    const size_t cb = readCb(bytes_.data() + pos);
    if (cb == 0) break;
    offsets_.push_back(pos);
    pos += cb;
  }
}

QByteArray IdList::toBytes() const {
  return QByteArray(reinterpret_cast<const char*>(bytes_.data()), static_cast<qsizetype>(bytes_.size()));
}

IdList IdList::first(size_t count) const {
  if (count >= itemCount()) return *this;
  IdList list;
  const size_t end = offsets_[count];
  list.bytes_.assign(bytes_.begin(), bytes_.begin() + static_cast<std::ptrdiff_t>(end));
  list.bytes_.push_back(0);
  list.bytes_.push_back(0);
  list.reindex();
  return list;
}

IdList IdList::from(size_t index) const {
  if (index >= itemCount()) return IdList();
  IdList list;
  list.bytes_.assign(bytes_.begin() + static_cast<std::ptrdiff_t>(offsets_[index]), bytes_.end());
  list.reindex();
  return list;
}

IdList IdList::operator+(const IdList& tail) const {
  IdList list;
  list.bytes_.assign(bytes_.begin(), bytes_.end() - 2);
  list.bytes_.insert(list.bytes_.end(), tail.bytes_.begin(), tail.bytes_.end());
  list.reindex();
  return list;
}

bool IdList::startsWith(const IdList& prefix) const {
  const size_t n = prefix.bytes_.size() - 2;
  if (n > bytes_.size() - 2) return false;
  if (std::memcmp(bytes_.data(), prefix.bytes_.data(), n) != 0) return false;
  // The prefix must end on an item boundary of this list.
  if (n == 0) return true;
  for (size_t off : offsets_)
    if (off == n) return true;
  return n == bytes_.size() - 2;
}

std::vector<BYTE> IdList::itemPayload(size_t index) const {
  if (index >= itemCount()) return {};
  const size_t off = offsets_[index];
  const size_t cb = readCb(bytes_.data() + off);
  return std::vector<BYTE>(bytes_.begin() + static_cast<std::ptrdiff_t>(off + 2),
                           bytes_.begin() + static_cast<std::ptrdiff_t>(off + cb));
}

std::string IdList::hashKey() const {
  uint64_t h = 1469598103934665603ull;
  for (BYTE b : bytes_) {
    h ^= b;
    h *= 1099511628211ull;
  }
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(h));
  return text;
}
