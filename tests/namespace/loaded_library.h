// Datrova.so loaded through the platform loader (so its DllMain runs), with
// its exported entries and helpers that own what the tests get from it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/com/shlobj.h"
#include "platform/loader/loader.h"

using DllGetClassObjectProc = HRESULT (*)(REFCLSID, REFIID, LPVOID*);
using DllCanUnloadNowProc = HRESULT (*)();

class LoadedLibrary {
 public:
  LoadedLibrary();
  ~LoadedLibrary();
  LoadedLibrary(const LoadedLibrary&) = delete;
  LoadedLibrary& operator=(const LoadedLibrary&) = delete;

  static std::string Path();
  HMODULE handle() const { return handle_; }
  bool loaded() const { return handle_ && getClassObject_ && canUnloadNow_; }
  // Unloads now (the destructor then does nothing).
  void Unload();

  HRESULT GetClassObject(REFCLSID clsid, REFIID riid, void** ppv) const { return getClassObject_(clsid, riid, ppv); }
  HRESULT CanUnloadNow() const { return canUnloadNow_(); }
  // A root folder from the class factory, initialised with an empty list.
  ComPtr<IShellFolder> CreateRoot() const;

 private:
  HMODULE handle_ = nullptr;
  DllGetClassObjectProc getClassObject_ = nullptr;
  DllCanUnloadNowProc canUnloadNow_ = nullptr;
};

struct TaskMemDeleter {
  void operator()(void* p) const { CoTaskMemFree(p); }
};
using OwnedIdList = std::unique_ptr<ITEMIDLIST, TaskMemDeleter>;
using OwnedWide = std::unique_ptr<WCHAR, TaskMemDeleter>;

class TestWorld;
// The one private world of this test program. unixODBC reads the folder of
// odbcinst.ini ($ODBCSYSINI) once per process and keeps it, so a second world
// in the same process would find no drivers; every test shares this one. It
// holds the user data sources "Shop" and "Tiny" and the system data source
// "Shop" (the same name in both scopes).
TestWorld& SharedWorld();

// Every item of an enumerator, fetched one Next at a time.
std::vector<OwnedIdList> EnumerateAll(IShellFolder* folder, DWORD flags, HRESULT* result = nullptr);
// Binds below `folder` to the item, as an IShellFolder.
ComPtr<IShellFolder> BindFolder(IShellFolder* folder, LPCITEMIDLIST item);
// Text `index` of an item as a string ("<absent>" for an absent text).
std::string ItemText(int index, LPCITEMIDLIST item);
// The UTF-8 text of a wide string.
std::string Narrow(LPCWSTR text);
