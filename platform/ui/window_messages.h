// The small message entry of a window. A widget that wants to receive
// window messages (menu commands and WM_INITMENUPOPUP from the shell host,
// WM_COMMAND posted to a result window) also derives from MessageTarget;
// SendMessageA/PostMessageA deliver to it. There is no general emulation of
// Win32 messages: a widget that is not a MessageTarget receives nothing.
#pragma once

#include "platform/com/winbase.h"

#define WM_NULL 0x0000u
#define WM_CREATE 0x0001u
#define WM_DESTROY 0x0002u
#define WM_SIZE 0x0005u
#define WM_ACTIVATE 0x0006u
#define WM_SETFOCUS 0x0007u
#define WM_KILLFOCUS 0x0008u
#define WM_SETTEXT 0x000Cu
#define WM_CLOSE 0x0010u
#define WM_SETTINGCHANGE 0x001Au
#define WM_NOTIFY 0x004Eu
#define WM_KEYDOWN 0x0100u
#define WM_COMMAND 0x0111u
#define WM_INITMENUPOPUP 0x0117u
#define WM_RENDERFORMAT 0x0305u
#define WM_RENDERALLFORMATS 0x0306u
#define WM_USER 0x0400u

inline constexpr WPARAM MAKEWPARAM(WORD lo, WORD hi) { return static_cast<WPARAM>(MAKELONG(lo, hi)); }
inline constexpr LPARAM MAKELPARAM(WORD lo, WORD hi) { return static_cast<LPARAM>(MAKELONG(lo, hi)); }

// Mixin for widgets with a message entry. Messages are always handled on the
// widget's (GUI) thread: SendMessageA from another thread blocks until the
// GUI thread has handled the message.
struct __attribute__((visibility("default"))) MessageTarget {
  virtual ~MessageTarget();
  virtual LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) = 0;
};

extern "C" {
// Delivers at once and returns the target's result; 0 when the window is
// null or has no message entry.
LRESULT SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
// Queues the message for the window's thread; FALSE when the window is null
// or has no message entry. A window destroyed before delivery drops it.
BOOL PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
}
