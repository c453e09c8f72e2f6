// Windows scalar types, handles and the small structures that cross the
// boundary between the library and the platform. Widths follow Windows:
// DWORD/ULONG/LONG/UINT are 32 bits, WPARAM/LPARAM are pointer-sized, and the
// wide character type is UTF-16 (char16_t), not Linux's 32-bit wchar_t.
#pragma once

#include <cstddef>
#include <cstdint>

class QWidget;
class QMenu;

#if defined(__GNUC__)
#define WINAPI
#define STDMETHODCALLTYPE
#define DATROVA_EXPORT extern "C" __attribute__((visibility("default")))
#else
#define WINAPI
#define STDMETHODCALLTYPE
#define DATROVA_EXPORT extern "C"
#endif

typedef int BOOL;
typedef unsigned char BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef uint32_t ULONG;
typedef int32_t LONG;
typedef uint32_t UINT;
typedef int32_t INT;
typedef int16_t SHORT;
typedef uint16_t USHORT;
typedef int64_t LONGLONG;
typedef uint64_t ULONGLONG;
typedef uintptr_t UINT_PTR;
typedef intptr_t INT_PTR;
typedef intptr_t LONG_PTR;
typedef uintptr_t ULONG_PTR;
typedef uintptr_t DWORD_PTR;
typedef size_t SIZE_T;
typedef UINT_PTR WPARAM;
typedef LONG_PTR LPARAM;
typedef LONG_PTR LRESULT;
typedef int32_t HRESULT;
typedef char CHAR;
typedef char16_t WCHAR;
typedef WCHAR OLECHAR;
typedef char* LPSTR;
typedef const char* LPCSTR;
typedef WCHAR* LPWSTR;
typedef const WCHAR* LPCWSTR;
typedef OLECHAR* LPOLESTR;
typedef const OLECHAR* LPCOLESTR;
typedef void* LPVOID;
typedef const void* LPCVOID;
typedef DWORD* LPDWORD;
typedef BYTE* LPBYTE;
typedef DWORD LCID;
typedef WORD LANGID;
typedef DWORD COLORREF;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

// A window is a Qt widget, a menu a Qt menu (item identifiers are kept on the
// actions, by position as Win32 menus are).
typedef QWidget* HWND;
typedef QMenu* HMENU;

// Opaque handles owned by the platform.
struct PlatformModule;
typedef PlatformModule* HMODULE;
typedef HMODULE HINSTANCE;
struct PlatformHandle;
typedef PlatformHandle* HANDLE;
struct PlatformKey;
typedef PlatformKey* HKEY;
typedef HKEY* PHKEY;
struct PlatformIcon;
typedef PlatformIcon* HICON;
struct PlatformCursor;
typedef PlatformCursor* HCURSOR;
struct PlatformImageList;
typedef PlatformImageList* HIMAGELIST;
struct PlatformAccel;
typedef PlatformAccel* HACCEL;
typedef void* HGLOBAL;
typedef void* HOLEMENU;
typedef void* LPBC;  // bind context: never used by the namespace
typedef void (*FARPROC)();

#define MAX_PATH 260

struct POINT {
  LONG x;
  LONG y;
};
struct POINTL {
  LONG x;
  LONG y;
};
struct RECT {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
};
typedef RECT* LPRECT;
typedef const RECT* LPCRECT;

struct MSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD time;
  POINT pt;
};
typedef MSG* LPMSG;

union LARGE_INTEGER {
  struct {
    DWORD LowPart;
    LONG HighPart;
  } u;
  LONGLONG QuadPart;
};
union ULARGE_INTEGER {
  struct {
    DWORD LowPart;
    DWORD HighPart;
  } u;
  ULONGLONG QuadPart;
};

struct SECURITY_ATTRIBUTES;
typedef SECURITY_ATTRIBUTES* LPSECURITY_ATTRIBUTES;

inline constexpr WORD LOWORD(DWORD_PTR v) { return static_cast<WORD>(v & 0xFFFF); }
inline constexpr WORD HIWORD(DWORD_PTR v) { return static_cast<WORD>((v >> 16) & 0xFFFF); }
inline constexpr BYTE LOBYTE(DWORD_PTR v) { return static_cast<BYTE>(v & 0xFF); }
inline constexpr DWORD MAKELONG(WORD lo, WORD hi) { return static_cast<DWORD>(lo) | (static_cast<DWORD>(hi) << 16); }
inline constexpr WORD PRIMARYLANGID(LANGID id) { return static_cast<WORD>(id & 0x3FF); }
inline constexpr WORD SUBLANGID(LANGID id) { return static_cast<WORD>(id >> 10); }
inline constexpr LANGID MAKELANGID(WORD primary, WORD sub) { return static_cast<LANGID>((sub << 10) | primary); }
#define LANG_GERMAN 0x07
#define LANG_ENGLISH 0x09
#define SUBLANG_DEFAULT 0x01
#define MAKEINTRESOURCEA(i) (reinterpret_cast<LPSTR>(static_cast<ULONG_PTR>(static_cast<WORD>(i))))
