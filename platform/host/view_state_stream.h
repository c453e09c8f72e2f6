// View state streams: an IStream over one REG_BINARY value per folder,
// HKCU\Software\Datrova\ShellHost\Streams, value named by the hash of the
// folder's absolute ID list. A read stream holds the stored bytes; a write
// stream starts empty and stores what was written when it is committed or
// released (the last reference), replacing the old value.
#pragma once

#include "platform/com/shlobj.h"
#include "platform/host/id_list.h"

inline constexpr const char* kViewStateStreamsKey = "Software\\Datrova\\ShellHost\\Streams";
// Streams are small records; anything larger is refused on write and
// ignored on read.
inline constexpr size_t kMaxViewStateBytes = 16 * 1024;

// STGM_READ: S_OK with a stream over the stored bytes, STG_E_FILENOTFOUND
// when none are stored. STGM_WRITE / STGM_READWRITE: a new stream.
HRESULT OpenViewStateStream(const IdList& absolute, DWORD grfMode, IStream** ppStream);
