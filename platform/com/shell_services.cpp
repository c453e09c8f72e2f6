// Shell helpers: storage media, the special folders' ID lists, shell settings.
#include <cstring>

#include "platform/com/shlobj.h"
#include "platform/com/winbase.h"
#include "platform/registry/registry.h"

extern "C" {

void ReleaseStgMedium(STGMEDIUM* pmedium) {
  if (!pmedium) return;
  if (pmedium->pUnkForRelease) {
    // The medium belongs to whoever gave it; releasing that object frees it.
    pmedium->pUnkForRelease->Release();
  } else {
    switch (pmedium->tymed) {
      case TYMED_HGLOBAL:
        GlobalFree(pmedium->hGlobal);
        break;
      case TYMED_ISTREAM:
        if (pmedium->pstm) pmedium->pstm->Release();
        break;
      case TYMED_FILE:
        // Only the name is freed; the file itself is left alone (nothing on
        // this platform hands out temporary files through a medium).
        CoTaskMemFree(pmedium->lpszFileName);
        break;
      default:
        break;
    }
  }
  pmedium->tymed = TYMED_NULL;
  pmedium->hGlobal = nullptr;
  pmedium->pUnkForRelease = nullptr;
}

HRESULT SHGetSpecialFolderLocation(HWND /*hwnd*/, int csidl, LPITEMIDLIST* ppidl) {
  if (!ppidl) return E_INVALIDARG;
  *ppidl = nullptr;
  // My Computer: one 20-byte root item (cb 0x14, type 0x1F, sort order 0x50,
  // then the 16 bytes of CLSID {20D04FE0-3AEA-1069-A2D8-08002B30309D} in its
  // in-memory byte order), then the 2-byte terminator.
  static const BYTE kDrives[22] = {0x14, 0x00, 0x1F, 0x50, 0xE0, 0x4F, 0xD0, 0x20, 0xEA, 0x3A, 0x69,
                                   0x10, 0xA2, 0xD8, 0x08, 0x00, 0x2B, 0x30, 0x30, 0x9D, 0x00, 0x00};
  static const BYTE kDesktop[2] = {0x00, 0x00};
  const BYTE* src;
  size_t size;
  if (csidl == CSIDL_DRIVES) {
    src = kDrives;
    size = sizeof kDrives;
  } else if (csidl == CSIDL_DESKTOP) {
    src = kDesktop;
    size = sizeof kDesktop;
  } else {
    return E_INVALIDARG;
  }
  void* p = CoTaskMemAlloc(size);
  if (!p) return E_OUTOFMEMORY;
  std::memcpy(p, src, size);
  *ppidl = static_cast<LPITEMIDLIST>(p);
  return S_OK;
}

void SHGetSettings(LPSHELLFLAGSTATE lpsfs, DWORD dwMask) {
  if (!lpsfs) return;
  std::memset(lpsfs, 0, sizeof *lpsfs);
  // Defaults: items open on double click, info tips are shown. The user may
  // override both with REG_DWORD values (0 or 1) "DoubleClickInWebView" and
  // "ShowInfoTip" under the user key
  // "Software\Microsoft\Windows\CurrentVersion\Explorer\Advanced",
  // where Windows keeps its own "ShowInfoTip".
  DWORD doubleClick = 1, infoTip = 1;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced", 0,
                    KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
    auto readFlag = [key](const char* name, DWORD& value) {
      DWORD type = 0, data = 0, size = sizeof data;
      if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) == ERROR_SUCCESS &&
          type == REG_DWORD && size == sizeof data)
        value = data != 0;
    };
    readFlag("DoubleClickInWebView", doubleClick);
    readFlag("ShowInfoTip", infoTip);
    RegCloseKey(key);
  }
  if (dwMask & SSF_DOUBLECLICKINWEBVIEW) lpsfs->fDoubleClickInWebView = doubleClick ? 1 : 0;
  if (dwMask & SSF_SHOWINFOTIP) lpsfs->fShowInfoTip = infoTip ? 1 : 0;
}
}
