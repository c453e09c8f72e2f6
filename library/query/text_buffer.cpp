#include "library/query/text_buffer.h"

#include <cstring>
#include <utility>

#include "platform/com/winbase.h"

namespace {
constexpr size_t kGrowthStep = 1024;
}

TextBuffer::TextBuffer(TextBuffer&& other) noexcept
    : text_(std::exchange(other.text_, nullptr)),
      length_(std::exchange(other.length_, 0)),
      capacity_(std::exchange(other.capacity_, 0)) {}

TextBuffer& TextBuffer::operator=(TextBuffer&& other) noexcept {
  if (this != &other) {
    clear();
    text_ = std::exchange(other.text_, nullptr);
    length_ = std::exchange(other.length_, 0);
    capacity_ = std::exchange(other.capacity_, 0);
  }
  return *this;
}

TextBuffer::~TextBuffer() { clear(); }

void TextBuffer::clear() {
  if (text_) GlobalFree(text_);
  text_ = nullptr;
  length_ = 0;
  capacity_ = 0;
}

// Grows in whole kilobytes but at least by half the current capacity, so that
// a large export appends in amortised linear time rather than copying the
// whole text again every kilobyte. Growing resizes the block in place where
// the heap can (large blocks are remapped rather than copied).
bool TextBuffer::reserve(size_t needed) {
  if (needed <= capacity_) return true;
  size_t capacity = (needed / kGrowthStep + 1) * kGrowthStep;
  size_t grown = capacity_ + capacity_ / 2;
  if (grown > capacity) capacity = (grown / kGrowthStep + 1) * kGrowthStep;
  char* block = text_ ? static_cast<char*>(GlobalReAlloc(text_, capacity, GMEM_MOVEABLE))
                      : static_cast<char*>(GlobalAlloc(GMEM_FIXED, capacity));
  if (!block) return false;
  if (!text_) block[0] = '\0';
  text_ = block;
  capacity_ = capacity;
  return true;
}

bool TextBuffer::append(const char* text) {
  if (!text) return true;
  return append(std::string_view(text));
}

bool TextBuffer::append(std::string_view text) {
  if (!reserve(length_ + text.size() + 1)) return false;
  std::memcpy(text_ + length_, text.data(), text.size());
  length_ += text.size();
  text_[length_] = '\0';
  return true;
}
