// The shell namespace: item identifier lists, STRRET, the shell interfaces
// (pure abstract structs with exactly their COM slots, in order) and the
// SHCONTF_/SFGAO_/SHGDN_/CMF_/GCS_/SBSP_/FCIDM_/SVUIA_/FVM_ constants with
// their real values.
#pragma once

#include "platform/com/unknwn.h"

// ---------------------------------------------------------------------------
// Item identifiers. SHITEMID is packed: a 16-bit cb (counting itself) followed
// by cb - 2 bytes. A list ends with a cb of 0. Never cast this over bytes that
// came from outside without checking cb against the list's end.
#pragma pack(push, 1)
struct SHITEMID {
  USHORT cb;
  BYTE abID[1];
};
struct ITEMIDLIST {
  SHITEMID mkid;
};
#pragma pack(pop)
typedef SHITEMID* LPSHITEMID;
typedef const SHITEMID* LPCSHITEMID;
typedef ITEMIDLIST* LPITEMIDLIST;
typedef const ITEMIDLIST* LPCITEMIDLIST;
typedef ITEMIDLIST* PIDLIST_ABSOLUTE;
typedef const ITEMIDLIST* PCIDLIST_ABSOLUTE;

// STRRET
#define STRRET_WSTR 0x0000
#define STRRET_OFFSET 0x0001
#define STRRET_CSTR 0x0002
struct STRRET {
  UINT uType;
  union {
    LPWSTR pOleStr;
    UINT uOffset;
    char cStr[MAX_PATH];
  };
};
typedef STRRET* LPSTRRET;

// SHCONTF
#define SHCONTF_FOLDERS 0x0020
#define SHCONTF_NONFOLDERS 0x0040
#define SHCONTF_INCLUDEHIDDEN 0x0080
// SFGAO
#define SFGAO_CANCOPY 0x00000001u
#define SFGAO_CANMOVE 0x00000002u
#define SFGAO_CANLINK 0x00000004u
#define SFGAO_CANRENAME 0x00000010u
#define SFGAO_CANDELETE 0x00000020u
#define SFGAO_HASPROPSHEET 0x00000040u
#define SFGAO_DROPTARGET 0x00000100u
#define SFGAO_FOLDER 0x20000000u
#define SFGAO_FILESYSTEM 0x40000000u
#define SFGAO_HASSUBFOLDER 0x80000000u
// SHGDN
#define SHGDN_NORMAL 0x0000
#define SHGDN_INFOLDER 0x0001
#define SHGDN_FOREDITING 0x1000
#define SHGDN_INCLUDE_NONFILESYS 0x2000
#define SHGDN_FORADDRESSBAR 0x4000
#define SHGDN_FORPARSING 0x8000
// CMF
#define CMF_NORMAL 0x00000000u
#define CMF_DEFAULTONLY 0x00000001u
#define CMF_VERBSONLY 0x00000002u
#define CMF_EXPLORE 0x00000004u
#define CMF_NOVERBS 0x00000008u
#define CMF_CANRENAME 0x00000010u
#define CMF_NODEFAULT 0x00000020u
#define CMF_INCLUDESTATIC 0x00000040u
#define CMF_RESERVED 0xFFFF0000u
// GCS
#define GCS_VERBA 0x00000000u
#define GCS_HELPTEXTA 0x00000001u
#define GCS_VALIDATEA 0x00000002u
#define GCS_VERBW 0x00000004u
#define GCS_HELPTEXTW 0x00000005u
#define GCS_VALIDATEW 0x00000006u
#define GCS_UNICODE 0x00000004u
// SBSP
#define SBSP_DEFBROWSER 0x0000u
#define SBSP_SAMEBROWSER 0x0001u
#define SBSP_NEWBROWSER 0x0002u
#define SBSP_DEFMODE 0x0000u
#define SBSP_OPENMODE 0x0010u
#define SBSP_EXPLOREMODE 0x0020u
#define SBSP_ABSOLUTE 0x0000u
#define SBSP_RELATIVE 0x1000u
#define SBSP_PARENT 0x2000u
#define SBSP_NAVIGATEBACK 0x4000u
#define SBSP_NAVIGATEFORWARD 0x8000u
// FCIDM
#define FCIDM_SHVIEWFIRST 0x0000
#define FCIDM_SHVIEWLAST 0x7FFF
#define FCIDM_BROWSERFIRST 0xA000
#define FCIDM_BROWSERLAST 0xBF00
#define FCIDM_GLOBALFIRST 0x8000
#define FCIDM_GLOBALLAST 0x9FFF
#define FCIDM_MENU_FILE (FCIDM_GLOBALFIRST + 0x0000)
#define FCIDM_MENU_EDIT (FCIDM_GLOBALFIRST + 0x0040)
#define FCIDM_MENU_VIEW (FCIDM_GLOBALFIRST + 0x0080)
#define FCIDM_MENU_VIEW_SEP_OPTIONS (FCIDM_GLOBALFIRST + 0x0081)
#define FCIDM_MENU_TOOLS (FCIDM_GLOBALFIRST + 0x00C0)
#define FCIDM_MENU_TOOLS_SEP_GOTO (FCIDM_GLOBALFIRST + 0x00C1)
#define FCIDM_MENU_HELP (FCIDM_GLOBALFIRST + 0x0100)
#define FCIDM_MENU_FIND (FCIDM_GLOBALFIRST + 0x0140)
#define FCIDM_MENU_EXPLORE (FCIDM_GLOBALFIRST + 0x0150)
#define FCIDM_MENU_FAVORITES (FCIDM_GLOBALFIRST + 0x0170)
#define FCIDM_TOOLBAR (FCIDM_BROWSERFIRST + 0)
#define FCIDM_STATUS (FCIDM_BROWSERFIRST + 1)
// SVUIA
#define SVUIA_DEACTIVATE 0
#define SVUIA_ACTIVATE_NOFOCUS 1
#define SVUIA_ACTIVATE_FOCUS 2
#define SVUIA_INPLACEACTIVATE 3
// FVM
#define FVM_ICON 1
#define FVM_SMALLICON 2
#define FVM_LIST 3
#define FVM_DETAILS 4
// FWF
#define FWF_AUTOARRANGE 0x0001
#define FWF_ABBREVIATEDNAMES 0x0002
#define FWF_SNAPTOGRID 0x0004
#define FWF_OWNERDATA 0x0008
#define FWF_BESTFITWINDOW 0x0010
#define FWF_DESKTOP 0x0020
#define FWF_SINGLESEL 0x0040
#define FWF_NOSUBFOLDERS 0x0080
#define FWF_TRANSPARENT 0x0100
#define FWF_NOCLIENTEDGE 0x0200
#define FWF_NOSCROLL 0x0400
#define FWF_ALIGNLEFT 0x0800
#define FWF_NOICONS 0x1000
#define FWF_SINGLECLICKACTIVATE 0x8000
// FCW (IShellBrowser::SendControlMsg / GetControlWindow)
#define FCW_STATUS 0x0001
#define FCW_TOOLBAR 0x0002
#define FCW_TREE 0x0003
#define FCW_INTERNETBAR 0x0006
#define FCW_PROGRESS 0x0008
// SVSI
#define SVSI_DESELECT 0x00000000u
#define SVSI_SELECT 0x00000001u
#define SVSI_EDIT 0x00000003u
#define SVSI_DESELECTOTHERS 0x00000004u
#define SVSI_ENSUREVISIBLE 0x00000008u
#define SVSI_FOCUSED 0x00000010u
// SVGIO
#define SVGIO_BACKGROUND 0x00000000u
#define SVGIO_SELECTION 0x00000001u
#define SVGIO_ALLVIEW 0x00000002u
// GIL
#define GIL_OPENICON 0x0001u
#define GIL_FORSHELL 0x0002u
#define GIL_ASYNC 0x0020u
#define GIL_SIMULATEDOC 0x0001u
#define GIL_PERINSTANCE 0x0002u
#define GIL_PERCLASS 0x0004u
#define GIL_NOTFILENAME 0x0008u
#define GIL_DONTCACHE 0x0010u
// IQueryInfo
#define QITIPF_DEFAULT 0x00000000u
#define QIF_CACHED 0x00000001u
#define QIF_DONTEXPANDFOLDER 0x00000002u
// SHChangeNotify
#define SHCNE_RENAMEITEM 0x00000001L
#define SHCNE_CREATE 0x00000002L
#define SHCNE_DELETE 0x00000004L
#define SHCNE_MKDIR 0x00000008L
#define SHCNE_RMDIR 0x00000010L
#define SHCNE_UPDATEDIR 0x00001000L
#define SHCNE_UPDATEITEM 0x00002000L
#define SHCNE_ALLEVENTS 0x7FFFFFFFL
#define SHCNF_IDLIST 0x0000u
#define SHCNF_PATHA 0x0001u
#define SHCNF_FLUSH 0x1000u
// CSIDL
#define CSIDL_DESKTOP 0x0000
#define CSIDL_DRIVES 0x0011
// Drag and drop
#define DROPEFFECT_NONE 0u
#define DROPEFFECT_COPY 1u
#define DROPEFFECT_MOVE 2u
#define DROPEFFECT_LINK 4u
// Clipboard formats and storage media
typedef WORD CLIPFORMAT;
#define CF_TEXT 1
#define CF_UNICODETEXT 13
#define CF_HDROP 15
#define TYMED_NULL 0u
#define TYMED_HGLOBAL 1u
#define TYMED_FILE 2u
#define TYMED_ISTREAM 4u
#define DVASPECT_CONTENT 1u
// Stream seek origins and STATFLAG
#define STREAM_SEEK_SET 0u
#define STREAM_SEEK_CUR 1u
#define STREAM_SEEK_END 2u
#define STATFLAG_DEFAULT 0u
#define STATFLAG_NONAME 1u
// STGM for IShellBrowser::GetViewStateStream
#define STGM_READ 0x00000000u
#define STGM_WRITE 0x00000001u
#define STGM_READWRITE 0x00000002u

struct IStream;
struct IDataObject;
struct IEnumIDList;
struct IShellView;
struct IShellBrowser;
struct IShellFolder;

struct DVTARGETDEVICE;
struct FORMATETC {
  CLIPFORMAT cfFormat;
  DVTARGETDEVICE* ptd;
  DWORD dwAspect;
  LONG lindex;
  DWORD tymed;
};
typedef FORMATETC* LPFORMATETC;
struct STGMEDIUM {
  DWORD tymed;
  union {
    HGLOBAL hGlobal;
    LPOLESTR lpszFileName;
    IStream* pstm;
  };
  IUnknown* pUnkForRelease;
};
typedef STGMEDIUM* LPSTGMEDIUM;
struct STATSTG {
  LPOLESTR pwcsName;
  DWORD type;
  ULARGE_INTEGER cbSize;
  DWORD grfMode;
  DWORD grfLocksSupported;
  CLSID clsid;
  DWORD grfStateBits;
  DWORD reserved;
};
struct IEnumFORMATETC;
struct IEnumSTATDATA;
struct IAdviseSink;

struct FOLDERSETTINGS {
  UINT ViewMode;
  UINT fFlags;
};
typedef FOLDERSETTINGS* LPFOLDERSETTINGS;
typedef const FOLDERSETTINGS* LPCFOLDERSETTINGS;

struct OLEMENUGROUPWIDTHS {
  LONG width[6];
};
typedef OLEMENUGROUPWIDTHS* LPOLEMENUGROUPWIDTHS;

// Toolbar buttons (SetToolbarItems).
#define TBSTATE_CHECKED 0x01
#define TBSTATE_PRESSED 0x02
#define TBSTATE_ENABLED 0x04
#define TBSTATE_HIDDEN 0x08
#define TBSTYLE_BUTTON 0x00
#define TBSTYLE_SEP 0x01
#define TBSTYLE_CHECK 0x02
#define TBSTYLE_GROUP 0x04
#define TBSTYLE_CHECKGROUP (TBSTYLE_GROUP | TBSTYLE_CHECK)
#define FCT_MERGE 0x0001
#define FCT_CONFIGABLE 0x0002
#define FCT_ADDTOEND 0x0004
struct TBBUTTON {
  int iBitmap;
  int idCommand;
  BYTE fsState;
  BYTE fsStyle;
  BYTE bReserved[6];
  DWORD_PTR dwData;
  INT_PTR iString;
};
typedef TBBUTTON* LPTBBUTTON;
typedef const TBBUTTON* LPCTBBUTTON;

// Context menu invocation.
struct CMINVOKECOMMANDINFO {
  DWORD cbSize;
  DWORD fMask;
  HWND hwnd;
  LPCSTR lpVerb;  // a string, or an offset in the low word with the high word 0
  LPCSTR lpParameters;
  LPCSTR lpDirectory;
  int nShow;
  DWORD dwHotKey;
  HANDLE hIcon;
};
typedef CMINVOKECOMMANDINFO* LPCMINVOKECOMMANDINFO;

// Property sheet pages are platform objects (see platform/ui); the handlers
// only pass them on through the add-page callback.
struct _PSP;
typedef _PSP* HPROPSHEETPAGE;
typedef BOOL (*LPFNADDPROPSHEETPAGE)(HPROPSHEETPAGE, LPARAM);
typedef LPFNADDPROPSHEETPAGE LPFNSVADDPROPSHEETPAGE;

// Shell settings (SHGetSettings).
#define SSF_SHOWALLOBJECTS 0x00000001u
#define SSF_SHOWEXTENSIONS 0x00000002u
#define SSF_SHOWCOMPCOLOR 0x00000008u
#define SSF_SHOWSYSFILES 0x00000020u
#define SSF_DOUBLECLICKINWEBVIEW 0x00000080u
#define SSF_SHOWATTRIBCOL 0x00000100u
#define SSF_DESKTOPHTML 0x00000200u
#define SSF_WIN95CLASSIC 0x00000400u
#define SSF_DONTPRETTYPATH 0x00000800u
#define SSF_MAPNETDRVBUTTON 0x00001000u
#define SSF_SHOWINFOTIP 0x00002000u
#define SSF_HIDEICONS 0x00004000u
#define SSF_NOCONFIRMRECYCLE 0x00008000u
struct SHELLFLAGSTATE {
  BOOL fShowAllObjects : 1;
  BOOL fShowExtensions : 1;
  BOOL fNoConfirmRecycle : 1;
  BOOL fShowSysFiles : 1;
  BOOL fShowCompColor : 1;
  BOOL fDoubleClickInWebView : 1;
  BOOL fDesktopHTML : 1;
  BOOL fWin95Classic : 1;
  BOOL fDontPrettyPath : 1;
  BOOL fShowAttribCol : 1;
  BOOL fMapNetDrvBtn : 1;
  BOOL fShowInfoTip : 1;
  BOOL fHideIcons : 1;
  UINT fRestFlags : 3;
};
typedef SHELLFLAGSTATE* LPSHELLFLAGSTATE;

// ---------------------------------------------------------------------------
// Interfaces.
struct ISequentialStream : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Read(void* pv, ULONG cb, ULONG* pcbRead) = 0;
  virtual HRESULT STDMETHODCALLTYPE Write(const void* pv, ULONG cb, ULONG* pcbWritten) = 0;
};

struct IStream : ISequentialStream {
  virtual HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER dlibMove, DWORD dwOrigin, ULARGE_INTEGER* plibNewPosition) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER libNewSize) = 0;
  virtual HRESULT STDMETHODCALLTYPE CopyTo(IStream* pstm, ULARGE_INTEGER cb, ULARGE_INTEGER* pcbRead,
                                           ULARGE_INTEGER* pcbWritten) = 0;
  virtual HRESULT STDMETHODCALLTYPE Commit(DWORD grfCommitFlags) = 0;
  virtual HRESULT STDMETHODCALLTYPE Revert() = 0;
  virtual HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER libOffset, ULARGE_INTEGER cb, DWORD dwLockType) = 0;
  virtual HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER libOffset, ULARGE_INTEGER cb, DWORD dwLockType) = 0;
  virtual HRESULT STDMETHODCALLTYPE Stat(STATSTG* pstatstg, DWORD grfStatFlag) = 0;
  virtual HRESULT STDMETHODCALLTYPE Clone(IStream** ppstm) = 0;
};
typedef IStream* LPSTREAM;

struct IDataObject : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetData(FORMATETC* pformatetcIn, STGMEDIUM* pmedium) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC* pformatetc, STGMEDIUM* pmedium) = 0;
  virtual HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* pformatetc) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC* pformatectIn, FORMATETC* pformatetcOut) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetData(FORMATETC* pformatetc, STGMEDIUM* pmedium, BOOL fRelease) = 0;
  virtual HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD dwDirection, IEnumFORMATETC** ppenumFormatEtc) = 0;
  virtual HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC* pformatetc, DWORD advf, IAdviseSink* pAdvSink,
                                            DWORD* pdwConnection) = 0;
  virtual HRESULT STDMETHODCALLTYPE DUnadvise(DWORD dwConnection) = 0;
  virtual HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA** ppenumAdvise) = 0;
};
typedef IDataObject* LPDATAOBJECT;

struct IEnumIDList : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Next(ULONG celt, LPITEMIDLIST* rgelt, ULONG* pceltFetched) = 0;
  virtual HRESULT STDMETHODCALLTYPE Skip(ULONG celt) = 0;
  virtual HRESULT STDMETHODCALLTYPE Reset() = 0;
  virtual HRESULT STDMETHODCALLTYPE Clone(IEnumIDList** ppenum) = 0;
};
typedef IEnumIDList* LPENUMIDLIST;

struct IShellFolder : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE ParseDisplayName(HWND hwnd, LPBC pbc, LPOLESTR pszDisplayName, ULONG* pchEaten,
                                                     LPITEMIDLIST* ppidl, ULONG* pdwAttributes) = 0;
  virtual HRESULT STDMETHODCALLTYPE EnumObjects(HWND hwnd, DWORD grfFlags, IEnumIDList** ppenumIDList) = 0;
  virtual HRESULT STDMETHODCALLTYPE BindToObject(LPCITEMIDLIST pidl, LPBC pbc, REFIID riid, void** ppv) = 0;
  virtual HRESULT STDMETHODCALLTYPE BindToStorage(LPCITEMIDLIST pidl, LPBC pbc, REFIID riid, void** ppv) = 0;
  virtual HRESULT STDMETHODCALLTYPE CompareIDs(LPARAM lParam, LPCITEMIDLIST pidl1, LPCITEMIDLIST pidl2) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateViewObject(HWND hwndOwner, REFIID riid, void** ppv) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetAttributesOf(UINT cidl, LPCITEMIDLIST* apidl, ULONG* rgfInOut) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetUIObjectOf(HWND hwndOwner, UINT cidl, LPCITEMIDLIST* apidl, REFIID riid,
                                                  UINT* rgfReserved, void** ppv) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetDisplayNameOf(LPCITEMIDLIST pidl, DWORD uFlags, STRRET* pName) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetNameOf(HWND hwnd, LPCITEMIDLIST pidl, LPCOLESTR pszName, DWORD uFlags,
                                              LPITEMIDLIST* ppidlOut) = 0;
};
typedef IShellFolder* LPSHELLFOLDER;

struct IPersist : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetClassID(CLSID* pClassID) = 0;
};

struct IPersistFolder : IPersist {
  virtual HRESULT STDMETHODCALLTYPE Initialize(LPCITEMIDLIST pidl) = 0;
};

struct IDropTarget : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt,
                                              DWORD* pdwEffect) = 0;
  virtual HRESULT STDMETHODCALLTYPE DragOver(DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) = 0;
  virtual HRESULT STDMETHODCALLTYPE DragLeave() = 0;
  virtual HRESULT STDMETHODCALLTYPE Drop(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) = 0;
};

struct IShellExtInit : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Initialize(LPCITEMIDLIST pidlFolder, IDataObject* pdtobj, HKEY hkeyProgID) = 0;
};

struct IShellPropSheetExt : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE AddPages(LPFNADDPROPSHEETPAGE pfnAddPage, LPARAM lParam) = 0;
  virtual HRESULT STDMETHODCALLTYPE ReplacePage(UINT uPageID, LPFNADDPROPSHEETPAGE pfnReplaceWith, LPARAM lParam) = 0;
};

struct IOleWindow : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetWindow(HWND* phwnd) = 0;
  virtual HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL fEnterMode) = 0;
};

struct IShellView : IOleWindow {
  virtual HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG* pmsg) = 0;
  virtual HRESULT STDMETHODCALLTYPE EnableModeless(BOOL fEnable) = 0;
  virtual HRESULT STDMETHODCALLTYPE UIActivate(UINT uState) = 0;
  virtual HRESULT STDMETHODCALLTYPE Refresh() = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateViewWindow(IShellView* psvPrevious, LPCFOLDERSETTINGS pfs,
                                                     IShellBrowser* psb, RECT* prcView, HWND* phWnd) = 0;
  virtual HRESULT STDMETHODCALLTYPE DestroyViewWindow() = 0;
  virtual HRESULT STDMETHODCALLTYPE GetCurrentInfo(LPFOLDERSETTINGS pfs) = 0;
  virtual HRESULT STDMETHODCALLTYPE AddPropertySheetPages(DWORD dwReserved, LPFNSVADDPROPSHEETPAGE pfn,
                                                          LPARAM lparam) = 0;
  virtual HRESULT STDMETHODCALLTYPE SaveViewState() = 0;
  virtual HRESULT STDMETHODCALLTYPE SelectItem(LPCITEMIDLIST pidlItem, UINT uFlags) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetItemObject(UINT uItem, REFIID riid, void** ppv) = 0;
};
typedef IShellView* LPSHELLVIEW;

struct IShellBrowser : IOleWindow {
  virtual HRESULT STDMETHODCALLTYPE InsertMenusSB(HMENU hmenuShared, LPOLEMENUGROUPWIDTHS lpMenuWidths) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetMenuSB(HMENU hmenuShared, HOLEMENU holemenuRes, HWND hwndActiveObject) = 0;
  virtual HRESULT STDMETHODCALLTYPE RemoveMenusSB(HMENU hmenuShared) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetStatusTextSB(LPCOLESTR pszStatusText) = 0;
  virtual HRESULT STDMETHODCALLTYPE EnableModelessSB(BOOL fEnable) = 0;
  virtual HRESULT STDMETHODCALLTYPE TranslateAcceleratorSB(MSG* pmsg, WORD wID) = 0;
  virtual HRESULT STDMETHODCALLTYPE BrowseObject(LPCITEMIDLIST pidl, UINT wFlags) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetViewStateStream(DWORD grfMode, IStream** ppStrm) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetControlWindow(UINT id, HWND* phwnd) = 0;
  virtual HRESULT STDMETHODCALLTYPE SendControlMsg(UINT id, UINT uMsg, WPARAM wParam, LPARAM lParam,
                                                   LRESULT* pret) = 0;
  virtual HRESULT STDMETHODCALLTYPE QueryActiveShellView(IShellView** ppshv) = 0;
  virtual HRESULT STDMETHODCALLTYPE OnViewWindowActive(IShellView* pshv) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetToolbarItems(LPTBBUTTON lpButtons, UINT nButtons, UINT uFlags) = 0;
};
typedef IShellBrowser* LPSHELLBROWSER;

struct IContextMenu : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE QueryContextMenu(HMENU hmenu, UINT indexMenu, UINT idCmdFirst, UINT idCmdLast,
                                                     UINT uFlags) = 0;
  virtual HRESULT STDMETHODCALLTYPE InvokeCommand(LPCMINVOKECOMMANDINFO pici) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetCommandString(UINT_PTR idCmd, UINT uType, UINT* pReserved, LPSTR pszName,
                                                     UINT cchMax) = 0;
};
typedef IContextMenu* LPCONTEXTMENU;

struct IExtractIconA : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetIconLocation(UINT uFlags, LPSTR pszIconFile, UINT cchMax, int* piIndex,
                                                    UINT* pwFlags) = 0;
  virtual HRESULT STDMETHODCALLTYPE Extract(LPCSTR pszFile, UINT nIconIndex, HICON* phiconLarge, HICON* phiconSmall,
                                            UINT nIconSize) = 0;
};

struct IQueryInfo : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetInfoTip(DWORD dwFlags, LPWSTR* ppwszTip) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetInfoFlags(DWORD* pdwFlags) = 0;
};

extern "C" {
void ReleaseStgMedium(STGMEDIUM* pmedium);
// The ID list of a special folder (only CSIDL_DRIVES and CSIDL_DESKTOP), from
// the task allocator.
HRESULT SHGetSpecialFolderLocation(HWND hwnd, int csidl, LPITEMIDLIST* ppidl);
// Tells the shell host that something changed (SHCNE_UPDATEDIR refreshes the
// tree and the views of that folder).
void SHChangeNotify(LONG wEventId, UINT uFlags, LPCVOID dwItem1, LPCVOID dwItem2);
void SHGetSettings(LPSHELLFLAGSTATE lpsfs, DWORD dwMask);
}
