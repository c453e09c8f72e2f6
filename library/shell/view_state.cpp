#include "library/shell/view_state.h"

#include <cstdint>

bool ReadViewState(IStream* stream, int* mode) {
  if (!stream || !mode) return false;
  unsigned char bytes[kViewStateSize] = {};
  ULONG read = 0;
  if (FAILED(stream->Read(bytes, kViewStateSize, &read)) || read != kViewStateSize) return false;
  const uint16_t version = static_cast<uint16_t>(bytes[4] | (bytes[5] << 8));
  if (version != kViewStateVersion) return false;
  *mode = static_cast<int16_t>(static_cast<uint16_t>(bytes[6] | (bytes[7] << 8)));
  return true;
}

bool WriteViewState(IStream* stream, int mode) {
  if (!stream) return false;
  const auto m = static_cast<uint16_t>(static_cast<int16_t>(mode));
  const unsigned char bytes[kViewStateSize] = {
      kViewStateSize, 0, 0, 0,  // size
      static_cast<unsigned char>(kViewStateVersion & 0xFF), static_cast<unsigned char>(kViewStateVersion >> 8),
      static_cast<unsigned char>(m & 0xFF), static_cast<unsigned char>(m >> 8)};
  ULONG written = 0;
  return SUCCEEDED(stream->Write(bytes, kViewStateSize, &written)) && written == kViewStateSize;
}
