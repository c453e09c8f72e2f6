#include "library/shell/class_factory.h"

#include "library/shell/shell_folder.h"

IUnknown* ClassFactory::FindInterface(REFIID riid) {
  return LookupInterface(riid, {{&IID_IUnknown, this}, {&IID_IClassFactory, this}});
}

HRESULT ClassFactory::CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (pUnkOuter) return CLASS_E_NOAGGREGATION;
  // A root folder: no parent, empty relative list.
  return HandOut(ShellFolder::Create(nullptr, nullptr), riid, ppv);
}

HRESULT ClassFactory::LockServer(BOOL fLock) {
  if (fLock)
    ++g_lockCount;
  else
    --g_lockCount;
  return S_OK;
}
