// GUID/IID/CLSID and the interface identifiers the program uses, with their
// real Windows values (defined in guid.cpp).
#pragma once

#include <cstring>

#include "platform/com/hresult.h"

struct GUID {
  uint32_t Data1;
  uint16_t Data2;
  uint16_t Data3;
  uint8_t Data4[8];
};
typedef GUID IID;
typedef GUID CLSID;
typedef const GUID& REFGUID;
typedef const IID& REFIID;
typedef const CLSID& REFCLSID;
typedef IID* LPIID;
typedef CLSID* LPCLSID;

inline bool IsEqualGUID(REFGUID a, REFGUID b) { return std::memcmp(&a, &b, sizeof(GUID)) == 0; }
inline bool IsEqualIID(REFIID a, REFIID b) { return IsEqualGUID(a, b); }
inline bool IsEqualCLSID(REFCLSID a, REFCLSID b) { return IsEqualGUID(a, b); }
inline bool operator==(const GUID& a, const GUID& b) { return IsEqualGUID(a, b); }

extern "C" {
extern const IID IID_IUnknown;
extern const IID IID_IClassFactory;
extern const IID IID_IMalloc;
extern const IID IID_IPersist;
extern const IID IID_IPersistFolder;
extern const IID IID_IShellFolder;
extern const IID IID_IEnumIDList;
extern const IID IID_IShellExtInit;
extern const IID IID_IShellPropSheetExt;
extern const IID IID_IDropTarget;
extern const IID IID_IOleWindow;
extern const IID IID_IShellView;
extern const IID IID_IShellView2;
extern const IID IID_IShellBrowser;
extern const IID IID_IContextMenu;
extern const IID IID_IContextMenu2;
extern const IID IID_IExtractIconA;
extern const IID IID_IExtractIconW;
extern const IID IID_IQueryInfo;
extern const IID IID_IDataObject;
extern const IID IID_ISequentialStream;
extern const IID IID_IStream;
extern const IID IID_ICommDlgBrowser;
extern const GUID GUID_NULL;

// Writes the registry form "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" of an
// IID as a UTF-16 string allocated from the task allocator.
HRESULT StringFromIID(REFIID riid, LPOLESTR* lplpsz);
HRESULT StringFromCLSID(REFCLSID rclsid, LPOLESTR* lplpsz);
// The same, as a narrow string into a caller buffer of at least 39 chars.
int StringFromGUID2A(REFGUID guid, char* buffer, int size);
// Parses "{...}"; returns S_OK or E_INVALIDARG (CLSIDFromString).
HRESULT GUIDFromStringA(LPCSTR text, GUID* out);
}
