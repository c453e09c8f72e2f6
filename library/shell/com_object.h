// The lifetime scheme every COM object of the library shares: a reference
// count that starts at 0 (the creator's AddRef makes it 1), one unit of
// g_objectCount for as long as the object exists, and QueryInterface answered
// from one table of interface identifiers per class.
#pragma once

#include <initializer_list>
#include <new>
#include <utility>

#include "library/shell/module_state.h"

// Holds one unit of the module's object count from construction to
// destruction, so DllCanUnloadNow sees every live object.
class ModuleObjectCount {
 public:
  ModuleObjectCount() noexcept { ++g_objectCount; }
  ~ModuleObjectCount() { --g_objectCount; }
  ModuleObjectCount(const ModuleObjectCount&) = delete;
  ModuleObjectCount& operator=(const ModuleObjectCount&) = delete;
};

// One row of a QueryInterface table: an interface identifier and the matching
// interface pointer of the object (already adjusted to its sub-object).
using InterfaceEntry = std::pair<const IID*, IUnknown*>;

// The first interface listed is the primary one: it sits at the start of the
// object and also answers IID_IUnknown. QueryInterface, AddRef and Release
// defined here are the final overriders for every listed interface, so the
// secondary interfaces forward to the object's own count.
template <typename... Interfaces>
class ComObject : public Interfaces... {
 public:
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    IUnknown* found = FindInterface(riid);
    if (!found) return E_NOINTERFACE;
    found->AddRef();
    *ppv = found;
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }

 protected:
  ComObject() = default;
  virtual ~ComObject() = default;

  // The class's table of interfaces; null when riid is not among them.
  virtual IUnknown* FindInterface(REFIID riid) = 0;

  static IUnknown* LookupInterface(REFIID riid, std::initializer_list<InterfaceEntry> table) {
    for (const InterfaceEntry& entry : table) {
      if (IsEqualIID(*entry.first, riid)) return entry.second;
    }
    return nullptr;
  }

 private:
  ULONG refs_ = 0;
  ModuleObjectCount counted_;
};

// The one creation pattern: AddRef, QueryInterface for what was asked,
// Release. An object whose QueryInterface fails is destroyed again at once;
// a successful caller holds exactly one reference.
template <typename T>
HRESULT HandOut(T* object, REFIID riid, void** ppv) {
  if (!object) return E_OUTOFMEMORY;
  object->AddRef();
  HRESULT hr = object->QueryInterface(riid, ppv);
  object->Release();
  return hr;
}
