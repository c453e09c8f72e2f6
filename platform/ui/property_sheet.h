// Property sheets: a modal dialog with one tab per page, OK and Cancel.
//
// A page is described by a PROPSHEETPAGEA and turned into a handle with
// CreatePropertySheetPageA; PropertySheetA shows the handles in the order
// given and owns them from then on (every page is destroyed, and its release
// callback called, when the sheet goes, also when it is cancelled).
//
// Where Windows loads a dialog template, a page here names a factory
// (pfnCreatePage) that builds the page's widget with its controls; the widget's
// window title is the template's caption and becomes the tab text unless
// PSP_USETITLE gives pszTitle. The dialog procedure sees the messages of a
// page's life:
//   WM_INITDIALOG  when the page is first shown (lParam: the sheet's copy of
//                  the PROPSHEETPAGEA); a page never shown never gets it,
//   WM_NOTIFY      PSN_APPLY (OK) or PSN_RESET (Cancel), lParam: PSHNOTIFY*,
//                  only to pages that were initialised,
//   WM_DESTROY     when the sheet closes, only to pages that were initialised.
// Commands of a page's own controls stay with the page's widget (Qt signals).
#pragma once

#include "platform/com/shlobj.h"
#include "platform/ui/window_messages.h"

#define WM_INITDIALOG 0x0110u

// PROPSHEETPAGEA.dwFlags
#define PSP_DEFAULT 0x00000000u
#define PSP_USETITLE 0x00000008u
#define PSP_USECALLBACK 0x00000080u

// Page callback messages.
#define PSPCB_ADDREF 0u
#define PSPCB_RELEASE 1u
#define PSPCB_CREATE 2u

// PROPSHEETHEADERA.dwFlags
#define PSH_DEFAULT 0x00000000u
#define PSH_PROPTITLE 0x00000001u
#define PSH_USEICONID 0x00000004u
#define PSH_NOAPPLYNOW 0x00000080u

// Notifications sent in WM_NOTIFY.
#define PSN_FIRST (0u - 200u)
#define PSN_SETACTIVE (PSN_FIRST - 0u)
#define PSN_KILLACTIVE (PSN_FIRST - 1u)
#define PSN_APPLY (PSN_FIRST - 2u)
#define PSN_RESET (PSN_FIRST - 3u)

// Messages to the sheet (SendMessageA on the sheet's window).
#define PSM_CHANGED (WM_USER + 104u)    // wParam: the page's window
#define PSM_UNCHANGED (WM_USER + 109u)  // wParam: the page's window

// Most pages a sheet shows; further handles are destroyed unseen.
#define MAXPROPPAGES 100

typedef INT_PTR (*DLGPROC)(HWND, UINT, WPARAM, LPARAM);

struct NMHDR {
  HWND hwndFrom;
  UINT_PTR idFrom;
  UINT code;
};
struct PSHNOTIFY {
  NMHDR hdr;
  LPARAM lParam;
};

struct PROPSHEETPAGEA;
typedef PROPSHEETPAGEA* LPPROPSHEETPAGEA;
typedef const PROPSHEETPAGEA* LPCPROPSHEETPAGEA;
// PSPCB_CREATE: a return of 0 keeps the page from being created. hwnd is null.
typedef UINT (*LPFNPSPCALLBACKA)(HWND hwnd, UINT uMsg, LPPROPSHEETPAGEA ppsp);
// Builds the page's widget (a child of `parent`) with its controls, and gives
// it the template's caption as window title. Null when it cannot.
typedef HWND (*LPFNPSPCREATEPAGEA)(HWND parent, LPCPROPSHEETPAGEA ppsp);

struct PROPSHEETPAGEA {
  DWORD dwSize;                      // sizeof(PROPSHEETPAGEA)
  DWORD dwFlags;                     // PSP_*
  HINSTANCE hInstance;
  LPCSTR pszTemplate;                // MAKEINTRESOURCEA(dialog id), for the page's own use
  LPCSTR pszTitle;                   // tab text with PSP_USETITLE
  DLGPROC pfnDlgProc;
  LPARAM lParam;                     // the page owner's data
  LPFNPSPCALLBACKA pfnCallback;      // with PSP_USECALLBACK
  LPFNPSPCREATEPAGEA pfnCreatePage;  // the template: builds the widget
};

struct PROPSHEETHEADERA {
  DWORD dwSize;  // sizeof(PROPSHEETHEADERA)
  DWORD dwFlags;  // PSH_*
  HWND hwndParent;
  HINSTANCE hInstance;
  LPCSTR pszIcon;  // with PSH_USEICONID: icon resource of hInstance
  LPCSTR pszCaption;
  UINT nPages;
  UINT nStartPage;
  HPROPSHEETPAGE* phpage;
};
typedef const PROPSHEETHEADERA* LPCPROPSHEETHEADERA;

extern "C" {
// A handle holding a copy of the description; null for a missing or
// undersized description. The caller owns it until a sheet takes it.
HPROPSHEETPAGE CreatePropertySheetPageA(LPCPROPSHEETPAGEA ppsp);
// Calls the release callback (PSP_USECALLBACK) and frees the handle.
BOOL DestroyPropertySheetPage(HPROPSHEETPAGE page);
// Shows the sheet modally. 1 when closed with OK, 0 with Cancel, -1 when it
// cannot be shown (no GUI application, no pages, a bad header). Every handle
// of the header is destroyed before it returns, whatever the result.
INT_PTR PropertySheetA(LPCPROPSHEETHEADERA psh);
// The sheet a page's widget belongs to, or null.
HWND PropertySheetOfPage(HWND page);
// Handles not destroyed yet, so tests can find leaked pages.
long PlatformLivePropertySheetPages(void);
}

// Marks a page changed, as the PropSheet_Changed macro does.
inline void PropSheet_Changed(HWND sheet, HWND page) {
  SendMessageA(sheet, PSM_CHANGED, reinterpret_cast<WPARAM>(page), 0);
}
// True when some page of the sheet is marked changed and not unchanged again.
bool PlatformPropertySheetChanged(HWND sheet);
