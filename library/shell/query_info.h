// The info tip object of one item (IQueryInfo): the text shown when the
// mouse rests on an item, "DSN : schema.name" of its data source and table
// or procedure.
#pragma once

#include "library/shell/com_object.h"
#include "platform/com/shlobj.h"

class QueryInfo final : public ComObject<IQueryInfo> {
 public:
  // A new object with its own copy of `path`; null when memory runs out.
  static QueryInfo* Create(LPCITEMIDLIST path);

  HRESULT STDMETHODCALLTYPE GetInfoTip(DWORD dwFlags, LPWSTR* ppwszTip) override;
  HRESULT STDMETHODCALLTYPE GetInfoFlags(DWORD* pdwFlags) override;

 protected:
  IUnknown* FindInterface(REFIID riid) override;

 private:
  explicit QueryInfo(LPITEMIDLIST path) : path_(path) {}
  ~QueryInfo() override;

  LPITEMIDLIST path_;
};

// A UTF-16 copy of an ANSI text in a block of the shell allocator (the caller
// frees it); null when the block cannot be had.
LPWSTR ShellWideCopy(const char* text);
