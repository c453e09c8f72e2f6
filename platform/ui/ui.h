// The small user-interface services that the library reaches through
// Windows names: message boxes, the user's language, the list separator,
// the wait cursor, window class names, the clipboard format registry.
#pragma once

#include <functional>
#include <string>

#include "platform/com/winbase.h"

#define MB_OK 0x00000000u
#define MB_OKCANCEL 0x00000001u
#define MB_ABORTRETRYIGNORE 0x00000002u
#define MB_YESNOCANCEL 0x00000003u
#define MB_YESNO 0x00000004u
#define MB_RETRYCANCEL 0x00000005u
#define MB_ICONHAND 0x00000010u
#define MB_ICONERROR MB_ICONHAND
#define MB_ICONSTOP MB_ICONHAND
#define MB_ICONQUESTION 0x00000020u
#define MB_ICONEXCLAMATION 0x00000030u
#define MB_ICONWARNING MB_ICONEXCLAMATION
#define MB_ICONASTERISK 0x00000040u
#define MB_ICONINFORMATION MB_ICONASTERISK
#define MB_DEFBUTTON1 0x00000000u
#define MB_DEFBUTTON2 0x00000100u
#define MB_DEFBUTTON3 0x00000200u
#define MB_APPLMODAL 0x00000000u
#define MB_SYSTEMMODAL 0x00001000u
#define MB_TASKMODAL 0x00002000u
#define MB_SETFOREGROUND 0x00010000u

#define IDOK 1
#define IDCANCEL 2
#define IDABORT 3
#define IDRETRY 4
#define IDIGNORE 5
#define IDYES 6
#define IDNO 7

#define SW_HIDE 0
#define SW_SHOWNORMAL 1
#define SW_SHOW 5

// Cursor identifiers for LoadCursorA(nullptr, ...).
#define IDC_ARROW MAKEINTRESOURCEA(32512)
#define IDC_WAIT MAKEINTRESOURCEA(32514)

extern "C" {
// Shows a modal message box (Qt) and returns IDOK/IDCANCEL/IDYES/IDNO/...
// Without a GUI application it writes the text to stderr and returns the
// default button. A test can answer and record every call (see below).
int MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType);

// LANG environment: "de…" gives German (primary language 7), anything else
// English (United States), from LC_ALL, then LC_MESSAGES, then LANG.
LANGID GetUserDefaultLangID(void);
LANGID GetSystemDefaultLangID(void);

// WIN.INI: only section "intl", key "sList" is known: the user hive's
// "Control Panel\International" value "sList" when set, else ";" where the
// locale's decimal separator is "," and "," otherwise. Other keys give the
// default. Returns the length copied.
DWORD GetProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault, LPSTR lpReturnedString, DWORD nSize);

// Cursors: the wait cursor is Qt's override cursor; SetCursor returns the
// previous one so callers can restore it.
HCURSOR LoadCursorA(HINSTANCE hInstance, LPCSTR lpCursorName);
HCURSOR SetCursor(HCURSOR hCursor);

// The desktop window (a hidden widget, or null without a GUI application).
HWND GetDesktopWindow(void);
// The class name of a window: the widget's "windowClass" property when set
// (e.g. "ExploreWClass", "DatrovaNSClass"), else its Qt class name.
int GetClassNameA(HWND hWnd, LPSTR lpClassName, int nMaxCount);

UINT RegisterClipboardFormatA(LPCSTR lpszFormat);
}

// Test hook for message boxes: while set, MessageBoxA shows nothing and
// returns what the hook answers.
struct MessageBoxCall {
  HWND owner;
  std::string text;
  std::string caption;
  UINT type;
};
using MessageBoxHook = std::function<int(const MessageBoxCall&)>;
// Installs a hook (or removes it with an empty function); returns the old one.
MessageBoxHook PlatformSetMessageBoxHook(MessageBoxHook hook);
