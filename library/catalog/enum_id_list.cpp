#include "library/catalog/enum_id_list.h"

#include "platform/ui/ui.h"
#include "platform/ui/wait_cursor.h"

HRESULT EnumIDList::Create(const CatalogSource& source, DWORD flags, IEnumIDList** result) {
  if (!result) return E_POINTER;
  *result = nullptr;
  auto* enumerator = new (std::nothrow) EnumIDList();
  if (!enumerator) return E_OUTOFMEMORY;
  enumerator->AddRef();
  bool filled;
  {
    WaitCursor wait;
    filled = ReadCatalog(source, flags, enumerator->items_);
  }
  enumerator->current_ = enumerator->items_.head();
  HRESULT hr = filled ? enumerator->QueryInterface(IID_IEnumIDList, reinterpret_cast<void**>(result))
                      : E_OUTOFMEMORY;
  enumerator->Release();
  return hr;
}

IUnknown* EnumIDList::FindInterface(REFIID riid) {
  return LookupInterface(riid, {{&IID_IUnknown, this}, {&IID_IEnumIDList, this}});
}

HRESULT EnumIDList::Next(ULONG celt, LPITEMIDLIST* rgelt, ULONG* pceltFetched) {
  if (celt > 1 && !pceltFetched) return E_INVALIDARG;
  if (celt > 0 && !rgelt) return E_INVALIDARG;
  ULONG fetched = 0;
  while (fetched < celt && current_) {
    LPITEMIDLIST copy = CloneIdList(current_->item);
    if (!copy) break;  // out of memory: hand out what was copied so far
    rgelt[fetched++] = copy;
    current_ = current_->next;
  }
  if (pceltFetched) *pceltFetched = fetched;
  return fetched == celt ? S_OK : S_FALSE;
}

HRESULT EnumIDList::Skip(ULONG celt) {
  for (ULONG passed = 0; passed < celt; ++passed) {
    if (!current_) return S_FALSE;
    current_ = current_->next;
  }
  return S_OK;
}

HRESULT EnumIDList::Reset() {
  current_ = items_.head();
  return S_OK;
}

HRESULT EnumIDList::Clone(IEnumIDList** ppenum) {
  if (ppenum) *ppenum = nullptr;
  return E_NOTIMPL;
}
