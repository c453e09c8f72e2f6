// The base of every property sheet handler: one namespace item (as an item
// identifier list of its own), the IShellPropSheetExt interface, and the
// making of pages whose release gives the handler's reference back.
//
// A handler lives from its creation (reference count 0, the creator's AddRef
// makes it 1) through AddPages (one more reference per page made) to the
// last page's release by the sheet, so its pages may use it while they exist.
#pragma once

#include <QWidget>

#include "library/shell/com_object.h"
#include "platform/com/shlobj.h"
#include "platform/ui/property_sheet.h"

class PropertySheetHandler : public ComObject<IShellPropSheetExt> {
 public:
  // Adds the handler's pages through pfnAddPage; S_OK also when none is added.
  HRESULT STDMETHODCALLTYPE AddPages(LPFNADDPROPSHEETPAGE pfnAddPage, LPARAM lParam) override = 0;
  // Pages are never replaced: E_FAIL.
  HRESULT STDMETHODCALLTYPE ReplacePage(UINT uPageID, LPFNADDPROPSHEETPAGE pfnReplaceWith,
                                        LPARAM lParam) override;

  // The handler's own copy of the list it was made with (never null unless
  // memory ran out; a null list is copied as the empty list).
  LPCITEMIDLIST IdList() const { return idList_; }

  // Release callback of every page: PSPCB_RELEASE gives the page's reference
  // on its handler (the page's lParam) back. Returns 1 for every message, so
  // PSPCB_CREATE always lets the page be made.
  static UINT PageReleaseCallback(HWND hwnd, UINT uMsg, LPPROPSHEETPAGEA ppsp);

  // The handler of a page description (its lParam).
  static PropertySheetHandler* FromPage(LPCPROPSHEETPAGEA ppsp);

 protected:
  explicit PropertySheetHandler(LPCITEMIDLIST idList);
  ~PropertySheetHandler() override;

  IUnknown* FindInterface(REFIID riid) override;

  // Makes one page of dialog `templateBase` (German id; the language offset is
  // added) and hands it to pfnAddPage. The page holds one reference on the
  // handler, given back by its release; a page that cannot be made or that
  // the callback refuses is dropped with its reference. True when added.
  bool AddPage(UINT templateBase, DLGPROC dialogProc, LPFNPSPCREATEPAGEA createPage,
               LPFNADDPROPSHEETPAGE pfnAddPage, LPARAM lParam);

 private:
  LPITEMIDLIST idList_;
};

// The common part of every page's widget: it carries the dialog's identity
// (object name = the template id with the language offset, window title = the
// template's caption) and, from WM_INITDIALOG on, the page description whose
// lParam is the handler (the widget itself is the DWL_USER slot here).
class PropertyPage : public QWidget {
 public:
  PropertyPage(QWidget* parent, LPCPROPSHEETPAGEA ppsp);

  // The German template id of the page (6 to 13).
  UINT TemplateBase() const { return templateBase_; }
  // Stores the page description at WM_INITDIALOG.
  void Attach(LPCPROPSHEETPAGEA ppsp) { page_ = ppsp; }
  // The page's handler; null before WM_INITDIALOG.
  PropertySheetHandler* Handler() const { return page_ ? PropertySheetHandler::FromPage(page_) : nullptr; }

  // The text of control `id` in this page's template.
  QString ControlText(int id) const;

 private:
  UINT templateBase_;
  LPCPROPSHEETPAGEA page_ = nullptr;
};

// The German template id of a page description (its pszTemplate minus the
// language offset).
UINT PageTemplateBase(LPCPROPSHEETPAGEA ppsp);
