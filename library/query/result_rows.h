// Compact storage of fetched rows: one byte arena per batch and the end
// offset of every cell, so a cell costs its text bytes plus four bytes and
// no object is made per cell. Rows travel from the worker to the window
// batch by batch.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class RowBatch {
 public:
  explicit RowBatch(int columnCount = 0) : columns_(columnCount) {}

  int columnCount() const { return columns_; }
  size_t rowCount() const { return columns_ > 0 ? ends_.size() / static_cast<size_t>(columns_) : 0; }
  bool empty() const { return ends_.empty(); }
  size_t textBytes() const { return arena_.size(); }

  // Cells are appended in row order; a row is complete after columnCount cells.
  void appendCell(std::string_view text) {
    arena_.append(text);
    ends_.push_back(static_cast<uint32_t>(arena_.size()));
  }
  // The arena that appendCell writes to, for writers that format in place:
  // append to it, then call endCell().
  std::string& arena() { return arena_; }
  void endCell() { ends_.push_back(static_cast<uint32_t>(arena_.size())); }

  std::string_view cell(size_t row, int column) const {
    const size_t index = row * static_cast<size_t>(columns_) + static_cast<size_t>(column);
    const uint32_t begin = index == 0 ? 0 : ends_[index - 1];
    return std::string_view(arena_).substr(begin, ends_[index] - begin);
  }

  void reserve(size_t bytes, size_t cells) {
    arena_.reserve(bytes);
    ends_.reserve(cells);
  }
  // A batch is handed over once it is this large, whatever the time, so the
  // 32-bit offsets never overflow and no single batch grows without bound.
  static constexpr size_t kMaxArenaBytes = 256u << 20;

 private:
  int columns_;
  std::string arena_;
  std::vector<uint32_t> ends_;  // end offset of each cell in arena_
};
