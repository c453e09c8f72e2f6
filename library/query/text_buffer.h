// A growable NUL-terminated text in fixed heap blocks (GlobalAlloc), the base
// of every export: clipboard renderings and INSERT scripts.
#pragma once

#include <cstddef>
#include <string_view>

class TextBuffer {
 public:
  TextBuffer() = default;
  TextBuffer(const TextBuffer&) = delete;
  TextBuffer& operator=(const TextBuffer&) = delete;
  TextBuffer(TextBuffer&& other) noexcept;
  TextBuffer& operator=(TextBuffer&& other) noexcept;
  ~TextBuffer();

  // Appends a text; a null text changes nothing. Returns false, leaving the
  // buffer as it was, when memory for growth cannot be had.
  bool append(const char* text);
  bool append(std::string_view text);
  bool append(char c) { return append(std::string_view(&c, 1)); }

  // The text (never null: an empty buffer gives ""), its length in bytes and
  // the capacity of the block in bytes.
  const char* text() const { return text_ ? text_ : ""; }
  size_t length() const { return length_; }
  size_t capacity() const { return capacity_; }
  std::string_view view() const { return {text(), length_}; }
  bool empty() const { return length_ == 0; }

  void clear();

 private:
  bool reserve(size_t needed);

  char* text_ = nullptr;  // owned block, null while nothing was appended
  size_t length_ = 0;
  size_t capacity_ = 0;
};
