// The icon object of one item (IExtractIconA): names the image of the item
// in the module's image lists and draws it from them.
#pragma once

#include "library/shell/com_object.h"
#include "platform/com/shlobj.h"

class ExtractIcon final : public ComObject<IExtractIconA> {
 public:
  // A new object with its own copy of `path` (the folder's list joined with
  // the item); null when memory runs out.
  static ExtractIcon* Create(LPCITEMIDLIST path);

  HRESULT STDMETHODCALLTYPE GetIconLocation(UINT uFlags, LPSTR pszIconFile, UINT cchMax, int* piIndex,
                                            UINT* pwFlags) override;
  HRESULT STDMETHODCALLTYPE Extract(LPCSTR pszFile, UINT nIconIndex, HICON* phiconLarge, HICON* phiconSmall,
                                    UINT nIconSize) override;

 protected:
  IUnknown* FindInterface(REFIID riid) override;

 private:
  explicit ExtractIcon(LPITEMIDLIST path) : path_(path) {}
  ~ExtractIcon() override;

  LPITEMIDLIST path_;
};

// The image index of an item (the last item of a path); false when the kind
// has no image (the index is then left as it was).
bool ChooseIconIndex(LPCITEMIDLIST item, bool open, int* index);
