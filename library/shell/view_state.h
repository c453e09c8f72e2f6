// The view-state record a view keeps in its browser's view state stream:
// 8 bytes, little-endian.
//
//   offset 0, 4 bytes: record size, written as 8 (not checked on reading)
//   offset 4, 2 bytes: version, 1
//   offset 6, 2 bytes: view mode (signed 16-bit FVM_ value)
#pragma once

#include "platform/com/shlobj.h"

inline constexpr int kViewStateSize = 8;
inline constexpr uint16_t kViewStateVersion = 1;

// Reads one record from the stream. True, with the stored mode in *mode,
// only when exactly 8 bytes came back and the version word is 1; anything
// else (short stream, other version, read failure) leaves *mode alone.
bool ReadViewState(IStream* stream, int* mode);

// Writes the record for `mode`; false when the stream refused the bytes.
bool WriteViewState(IStream* stream, int mode);
