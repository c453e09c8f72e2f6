#include "library/shell/query_info.h"

#include <cstring>

#include "library/catalog/item_id.h"
#include "platform/com/winbase.h"

LPWSTR ShellWideCopy(const char* text) {
  // UTF-8 never needs fewer bytes than UTF-16 needs units, so length + 1
  // units always hold the converted text and its terminator.
  const size_t units = std::strlen(text) + 1;
  auto* wide = static_cast<LPWSTR>(ShellAllocator()->Alloc(units * sizeof(WCHAR)));
  if (!wide) return nullptr;
  wide[0] = 0;
  MultiByteToWideChar(CP_ACP, 0, text, -1, wide, static_cast<int>(units));
  return wide;
}

QueryInfo* QueryInfo::Create(LPCITEMIDLIST path) {
  LPITEMIDLIST copy = CloneIdList(path);
  if (!copy) return nullptr;
  auto* object = new (std::nothrow) QueryInfo(copy);
  if (!object) FreeIdList(copy);
  return object;
}

QueryInfo::~QueryInfo() { FreeIdList(path_); }

IUnknown* QueryInfo::FindInterface(REFIID riid) {
  return LookupInterface(riid, {{&IID_IUnknown, this}, {&IID_IQueryInfo, this}});
}

HRESULT QueryInfo::GetInfoTip(DWORD /*dwFlags*/, LPWSTR* ppwszTip) {
  if (!ppwszTip) return E_POINTER;
  *ppwszTip = nullptr;
  char text[MAX_PATH] = "";
  GetFullDisplayName(path_, text, sizeof text);
  *ppwszTip = ShellWideCopy(text);
  return *ppwszTip ? S_OK : E_OUTOFMEMORY;
}

HRESULT QueryInfo::GetInfoFlags(DWORD* /*pdwFlags*/) { return E_NOTIMPL; }
