// The enumerator a folder hands out from EnumObjects: it reads the folder's
// level of the catalog once, when it is made, and hands out copies of the
// items through IEnumIDList. A refresh makes a new enumerator.
#pragma once

#include "library/catalog/catalog_reader.h"
#include "library/shell/com_object.h"

class EnumIDList final : public ComObject<IEnumIDList> {
 public:
  // Makes an enumerator filled for `flags` and returns it with one reference
  // in *result. E_OUTOFMEMORY when memory runs out or filling fails; then no
  // object is left behind and *result is null.
  static HRESULT Create(const CatalogSource& source, DWORD flags, IEnumIDList** result);

  HRESULT STDMETHODCALLTYPE Next(ULONG celt, LPITEMIDLIST* rgelt, ULONG* pceltFetched) override;
  HRESULT STDMETHODCALLTYPE Skip(ULONG celt) override;
  HRESULT STDMETHODCALLTYPE Reset() override;
  HRESULT STDMETHODCALLTYPE Clone(IEnumIDList** ppenum) override;

 protected:
  IUnknown* FindInterface(REFIID riid) override;

 private:
  EnumIDList() = default;

  CatalogItemList items_;
  CatalogItemList::Node* current_ = nullptr;
};
