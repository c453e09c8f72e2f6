// Heap blocks, last-error codes and system messages.
#pragma once

#include "platform/com/wintypes.h"

#define ERROR_SUCCESS 0L
#define ERROR_FILE_NOT_FOUND 2L
#define ERROR_PATH_NOT_FOUND 3L
#define ERROR_ACCESS_DENIED 5L
#define ERROR_INVALID_HANDLE 6L
#define ERROR_NOT_ENOUGH_MEMORY 8L
#define ERROR_BAD_FORMAT 11L
#define ERROR_OUTOFMEMORY 14L
#define ERROR_WRITE_FAULT 29L
#define ERROR_READ_FAULT 30L
#define ERROR_INVALID_PARAMETER 87L
#define ERROR_INSUFFICIENT_BUFFER 122L
#define ERROR_MOD_NOT_FOUND 126L
#define ERROR_PROC_NOT_FOUND 127L
#define ERROR_ALREADY_EXISTS 183L
#define ERROR_MORE_DATA 234L
#define ERROR_NO_MORE_ITEMS 259L
#define ERROR_CANTOPEN 1011L
#define ERROR_CANTREAD 1012L
#define ERROR_CANTWRITE 1013L
#define ERROR_REGISTRY_CORRUPT 1015L
#define ERROR_KEY_DELETED 1018L
#define ERROR_KEY_HAS_CHILDREN 1020L
#define ERROR_DLL_INIT_FAILED 1114L
#define ERROR_CANCELLED 1223L

#define GMEM_FIXED 0x0000u
#define GMEM_MOVEABLE 0x0002u
#define GMEM_ZEROINIT 0x0040u
#define GPTR (GMEM_FIXED | GMEM_ZEROINIT)

#define FORMAT_MESSAGE_IGNORE_INSERTS 0x00000200u
#define FORMAT_MESSAGE_FROM_SYSTEM 0x00001000u

#define CP_ACP 0u
#define CP_UTF8 65001u

extern "C" {
// Fixed heap blocks (GMEM_FIXED; GMEM_ZEROINIT clears them). The heap counts
// live blocks so tests can find leaks.
HGLOBAL GlobalAlloc(UINT uFlags, SIZE_T dwBytes);
HGLOBAL GlobalFree(HGLOBAL hMem);  // returns null on success
// Resizes a block (contents kept up to the smaller size); null on failure,
// when the old block stays valid and unchanged.
HGLOBAL GlobalReAlloc(HGLOBAL hMem, SIZE_T dwBytes, UINT uFlags);
SIZE_T GlobalSize(HGLOBAL hMem);
long PlatformHeapLiveBlocks(void);

DWORD GetLastError(void);
void SetLastError(DWORD code);
// FORMAT_MESSAGE_FROM_SYSTEM: the text of a Windows error code (or errno
// text), ending with "\r\n" as Windows does. Returns the length, 0 when the
// code is unknown.
DWORD FormatMessageA(DWORD dwFlags, LPCVOID lpSource, DWORD dwMessageId, DWORD dwLanguageId, LPSTR lpBuffer,
                     DWORD nSize, void* arguments);

// The "ANSI code page" of this platform is UTF-8; wide strings are UTF-16.
// Windows semantics: cbMultiByte/cchWideChar -1 means NUL-terminated (the
// terminator is converted and counted); a destination size of 0 asks for the
// size needed; a destination that is too small fails with
// ERROR_INSUFFICIENT_BUFFER and returns 0.
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR src, int cbMultiByte, LPWSTR dst, int cchWideChar);
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR src, int cchWideChar, LPSTR dst, int cbMultiByte,
                        LPCSTR defaultChar, BOOL* usedDefaultChar);
int lstrlenW(LPCWSTR s);
// Locale-aware comparisons as Windows makes them (case-sensitive and not).
int lstrcmpA(LPCSTR a, LPCSTR b);
int lstrcmpiA(LPCSTR a, LPCSTR b);

DWORD GetTickCount(void);
void Sleep(DWORD ms);
}
