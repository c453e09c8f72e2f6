// Conversions between the library's ANSI texts (UTF-8 on this platform) and
// the UTF-16 of the shell boundary, and fixed blocks of the process heap.
#pragma once

#include <cstddef>
#include <memory>

#include "platform/com/winbase.h"

// Converts a NUL-terminated UTF-16 text into dst (size in bytes). dst is
// emptied first and stays empty when the text does not fit or cannot be
// converted. Returns the bytes written including the NUL, 0 on failure.
int ToAnsi(char* dst, const char16_t* src, int dstSize);
// Converts a NUL-terminated ANSI text into dst (size in UTF-16 characters),
// with the same emptying and failure rules. Returns the characters written
// including the NUL, 0 on failure.
int ToWide(char16_t* dst, const char* src, int dstSize);

// A fixed block of the process heap; contents are not cleared. Null when
// memory is exhausted.
void* HeapAllocBlock(size_t size);
// Returns a block to the process heap; null is ignored.
void HeapFreeBlock(void* block);

// Owner of a heap block, for scratch buffers that must go back on every path.
struct HeapBlockDeleter {
  void operator()(void* block) const { HeapFreeBlock(block); }
};
template <typename T>
using HeapBlockPtr = std::unique_ptr<T, HeapBlockDeleter>;
