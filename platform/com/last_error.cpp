// The thread's last-error code and the system message texts.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/com/winbase.h"

namespace {

thread_local DWORD t_lastError = ERROR_SUCCESS;

// Texts of the Windows codes this platform reports (English, as the system
// messages of an English system read).
const char* WindowsErrorText(DWORD code) {
  switch (code) {
    case ERROR_SUCCESS: return "The operation completed successfully.";
    case ERROR_FILE_NOT_FOUND: return "The system cannot find the file specified.";
    case ERROR_PATH_NOT_FOUND: return "The system cannot find the path specified.";
    case ERROR_ACCESS_DENIED: return "Access is denied.";
    case ERROR_INVALID_HANDLE: return "The handle is invalid.";
    case ERROR_NOT_ENOUGH_MEMORY: return "Not enough storage is available to process this command.";
    case ERROR_BAD_FORMAT: return "An attempt was made to load a program with an incorrect format.";
    case ERROR_OUTOFMEMORY: return "Not enough storage is available to complete this operation.";
    case ERROR_WRITE_FAULT: return "The system cannot write to the specified device.";
    case ERROR_READ_FAULT: return "The system cannot read from the specified device.";
    case ERROR_INVALID_PARAMETER: return "The parameter is incorrect.";
    case ERROR_INSUFFICIENT_BUFFER: return "The data area passed to a system call is too small.";
    case ERROR_MOD_NOT_FOUND: return "The specified module could not be found.";
    case ERROR_PROC_NOT_FOUND: return "The specified procedure could not be found.";
    case ERROR_ALREADY_EXISTS: return "Cannot create a file when that file already exists.";
    case ERROR_MORE_DATA: return "More data is available.";
    case ERROR_NO_MORE_ITEMS: return "No more data is available.";
    case ERROR_CANTOPEN: return "The configuration registry key could not be opened.";
    case ERROR_CANTREAD: return "The configuration registry key could not be read.";
    case ERROR_CANTWRITE: return "The configuration registry key could not be written.";
    case ERROR_REGISTRY_CORRUPT: return "The structure of one of the files containing registry data is corrupted.";
    case ERROR_KEY_DELETED: return "Illegal operation attempted on a registry key that has been marked for deletion.";
    case ERROR_KEY_HAS_CHILDREN: return "Cannot create a symbolic link in a registry key that already has subkeys or values.";
    case ERROR_DLL_INIT_FAILED: return "A dynamic link library (DLL) initialization routine failed.";
    case ERROR_CANCELLED: return "The operation was canceled by the user.";
    default: return nullptr;
  }
}

// Codes that are not Windows codes are taken as errno values (the platform
// passes errno through where no Windows code fits). Only values that the C
// library knows give a text; strerror_r's "Unknown error" counts as unknown.
std::string ErrnoText(DWORD code) {
  if (code == 0 || code > 4095) return {};
  char buf[256];
  const char* text = strerrordesc_np(static_cast<int>(code));
  if (!text) return {};
  std::snprintf(buf, sizeof buf, "%s.", text);
  return buf;
}

}  // namespace

extern "C" {

DWORD GetLastError(void) { return t_lastError; }
void SetLastError(DWORD code) { t_lastError = code; }

DWORD FormatMessageA(DWORD dwFlags, LPCVOID /*lpSource*/, DWORD dwMessageId, DWORD /*dwLanguageId*/,
                     LPSTR lpBuffer, DWORD nSize, void* /*arguments*/) {
  // Only system messages exist here; no message text has inserts, so
  // FORMAT_MESSAGE_IGNORE_INSERTS changes nothing. Allocating the buffer
  // (FORMAT_MESSAGE_ALLOCATE_BUFFER) is not offered.
  if (!(dwFlags & FORMAT_MESSAGE_FROM_SYSTEM) || !lpBuffer || nSize == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::string text;
  if (const char* w = WindowsErrorText(dwMessageId)) {
    text = w;
  } else {
    text = ErrnoText(dwMessageId);
  }
  if (text.empty()) {
    SetLastError(317);  // ERROR_MR_MID_NOT_FOUND
    return 0;
  }
  text += "\r\n";
  if (text.size() + 1 > nSize) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::memcpy(lpBuffer, text.c_str(), text.size() + 1);
  return static_cast<DWORD>(text.size());
}
}
