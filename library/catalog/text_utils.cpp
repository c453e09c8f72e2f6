#include "library/catalog/text_utils.h"

int ToAnsi(char* dst, const char16_t* src, int dstSize) {
  if (!dst || dstSize <= 0) return 0;
  dst[0] = 0;
  if (!src) return 0;
  const int n = WideCharToMultiByte(CP_ACP, 0, src, -1, dst, dstSize, nullptr, nullptr);
  // A failed conversion may leave a cut, unterminated text behind.
  if (n <= 0) dst[0] = 0;
  return n > 0 ? n : 0;
}

int ToWide(char16_t* dst, const char* src, int dstSize) {
  if (!dst || dstSize <= 0) return 0;
  dst[0] = 0;
  if (!src) return 0;
  const int n = MultiByteToWideChar(CP_ACP, 0, src, -1, dst, dstSize);
  if (n <= 0) dst[0] = 0;
  return n > 0 ? n : 0;
}

void* HeapAllocBlock(size_t size) { return GlobalAlloc(GMEM_FIXED, size); }

void HeapFreeBlock(void* block) {
  if (block) GlobalFree(block);
}
