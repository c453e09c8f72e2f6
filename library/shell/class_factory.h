// The class factory of the library's one class, the namespace folder. A new
// factory is made for every DllGetClassObject call; none is shared.
#pragma once

#include "library/shell/com_object.h"

class ClassFactory final : public ComObject<IClassFactory> {
 public:
  ClassFactory() = default;

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppv) override;
  HRESULT STDMETHODCALLTYPE LockServer(BOOL fLock) override;

 protected:
  IUnknown* FindInterface(REFIID riid) override;
};
