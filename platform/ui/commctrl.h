// The few common-control messages and structures that a shell view sends to
// its browser's toolbar and status bar (IShellBrowser::SendControlMsg with
// FCW_TOOLBAR / FCW_STATUS), with their Windows numbers.
#pragma once

#include "platform/ui/window_messages.h"

// Toolbar messages.
#define TB_ENABLEBUTTON (WM_USER + 1)
#define TB_CHECKBUTTON (WM_USER + 2)
#define TB_PRESSBUTTON (WM_USER + 3)
#define TB_HIDEBUTTON (WM_USER + 4)
#define TB_ISBUTTONENABLED (WM_USER + 9)
#define TB_ISBUTTONCHECKED (WM_USER + 10)
#define TB_SETSTATE (WM_USER + 17)
#define TB_GETSTATE (WM_USER + 18)
#define TB_ADDBITMAP (WM_USER + 19)
#define TB_BUTTONCOUNT (WM_USER + 24)

// TB_ADDBITMAP: lParam points to a TBADDBITMAP; with hInst HINST_COMMCTRL,
// nID names one of the common controls' built-in image strips. The result is
// the index of the strip's first image in the toolbar's image list.
struct TBADDBITMAP {
  HINSTANCE hInst;
  UINT_PTR nID;
};
typedef TBADDBITMAP* LPTBADDBITMAP;
#define HINST_COMMCTRL (reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(-1)))
#define IDB_STD_SMALL_COLOR 0
#define IDB_STD_LARGE_COLOR 1
#define IDB_VIEW_SMALL_COLOR 4
#define IDB_VIEW_LARGE_COLOR 5
// Images of the standard strip.
#define STD_CUT 0
#define STD_COPY 1
#define STD_PASTE 2
#define STD_UNDO 3
#define STD_REDOW 4
#define STD_DELETE 5
#define STD_FILENEW 6
#define STD_FILEOPEN 7
#define STD_FILESAVE 8
#define STD_PRINTPRE 9
#define STD_PROPERTIES 10
#define STD_HELP 11
#define STD_FIND 12
#define STD_REPLACE 13
#define STD_PRINT 14
#define STD_IMAGE_COUNT 15
// Images of the view strip.
#define VIEW_LARGEICONS 0
#define VIEW_SMALLICONS 1
#define VIEW_LIST 2
#define VIEW_DETAILS 3
#define VIEW_SORTNAME 4
#define VIEW_SORTSIZE 5
#define VIEW_SORTDATE 6
#define VIEW_SORTTYPE 7
#define VIEW_PARENTFOLDER 8
#define VIEW_NETCONNECT 9
#define VIEW_NETDISCONNECT 10
#define VIEW_NEWFOLDER 11
#define VIEW_IMAGE_COUNT 12

// Status bar messages. SB_SETTEXTA: wParam low byte = part, lParam = text.
// SB_SETPARTS: wParam = number of parts, lParam = int array of right edges
// in pixels, -1 meaning "to the end".
#define SB_SETTEXTA (WM_USER + 1)
#define SB_GETTEXTA (WM_USER + 2)
#define SB_GETTEXTLENGTHA (WM_USER + 3)
#define SB_SETPARTS (WM_USER + 4)
#define SB_GETPARTS (WM_USER + 6)
#define SB_SIMPLE (WM_USER + 9)
#define SB_SETTEXTW (WM_USER + 11)
#define SB_SIMPLEID 0xFF
