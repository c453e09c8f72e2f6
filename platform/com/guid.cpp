#include "platform/com/guid.h"

#include <cstdio>

#include "platform/com/unknwn.h"

namespace {
constexpr GUID OleGuid(uint32_t d1) { return GUID{d1, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}}; }
}  // namespace

extern "C" {
const IID IID_IUnknown = OleGuid(0x00000000);
const IID IID_IClassFactory = OleGuid(0x00000001);
const IID IID_IMalloc = OleGuid(0x00000002);
const IID IID_IStream = OleGuid(0x0000000C);
const IID IID_IPersist = OleGuid(0x0000010C);
const IID IID_IDataObject = OleGuid(0x0000010E);
const IID IID_IOleWindow = OleGuid(0x00000114);
const IID IID_IDropTarget = OleGuid(0x00000122);
const IID IID_IShellBrowser = OleGuid(0x000214E2);
const IID IID_IShellView = OleGuid(0x000214E3);
const IID IID_IContextMenu = OleGuid(0x000214E4);
const IID IID_IShellFolder = OleGuid(0x000214E6);
const IID IID_IShellExtInit = OleGuid(0x000214E8);
const IID IID_IShellPropSheetExt = OleGuid(0x000214E9);
const IID IID_IPersistFolder = OleGuid(0x000214EA);
const IID IID_IExtractIconA = OleGuid(0x000214EB);
const IID IID_ICommDlgBrowser = OleGuid(0x000214F1);
const IID IID_IEnumIDList = OleGuid(0x000214F2);
const IID IID_IContextMenu2 = OleGuid(0x000214F4);
const IID IID_IExtractIconW = OleGuid(0x000214FA);
const IID IID_IQueryInfo = OleGuid(0x00021500);
const IID IID_IShellView2 = {0x88E39E80, 0x3578, 0x11CF, {0xAE, 0x69, 0x08, 0x00, 0x2B, 0x2E, 0x12, 0x62}};
const IID IID_ISequentialStream = {0x0C733A30, 0x2A1C, 0x11CE, {0xAD, 0xE5, 0x00, 0xAA, 0x00, 0x44, 0x77, 0x3D}};
const GUID GUID_NULL = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};

int StringFromGUID2A(REFGUID g, char* buffer, int size) {
  if (!buffer || size < 39) return 0;
  std::snprintf(buffer, static_cast<size_t>(size), "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                static_cast<unsigned>(g.Data1), g.Data2, g.Data3, g.Data4[0], g.Data4[1], g.Data4[2],
                g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
  return 39;
}

HRESULT StringFromIID(REFIID riid, LPOLESTR* lplpsz) {
  if (!lplpsz) return E_INVALIDARG;
  *lplpsz = nullptr;
  char text[40];
  StringFromGUID2A(riid, text, sizeof text);
  auto* out = static_cast<LPOLESTR>(CoTaskMemAlloc(39 * sizeof(OLECHAR)));
  if (!out) return E_OUTOFMEMORY;
  for (int i = 0; i < 39; ++i) out[i] = static_cast<OLECHAR>(text[i]);
  *lplpsz = out;
  return S_OK;
}

HRESULT StringFromCLSID(REFCLSID rclsid, LPOLESTR* lplpsz) { return StringFromIID(rclsid, lplpsz); }

HRESULT GUIDFromStringA(LPCSTR text, GUID* out) {
  if (!text || !out) return E_INVALIDARG;
  unsigned d1, d2, d3, b[8];
  char tail;
  if (std::strlen(text) != 38 ||
      std::sscanf(text, "{%8x-%4x-%4x-%2x%2x-%2x%2x%2x%2x%2x%2x}%c", &d1, &d2, &d3, &b[0], &b[1], &b[2], &b[3],
                  &b[4], &b[5], &b[6], &b[7], &tail) != 11)
    return E_INVALIDARG;
  out->Data1 = d1;
  out->Data2 = static_cast<uint16_t>(d2);
  out->Data3 = static_cast<uint16_t>(d3);
  for (int i = 0; i < 8; ++i) out->Data4[i] = static_cast<uint8_t>(b[i]);
  return S_OK;
}
}
