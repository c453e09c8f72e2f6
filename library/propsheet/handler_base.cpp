#include "library/propsheet/handler_base.h"

#include <cstdint>

#include "library/catalog/item_id.h"
#include "library/res/dialogs.h"
#include "library/res/resource_ids.h"

PropertySheetHandler::PropertySheetHandler(LPCITEMIDLIST idList) : idList_(CloneIdList(idList)) {}

PropertySheetHandler::~PropertySheetHandler() { FreeIdList(idList_); }

IUnknown* PropertySheetHandler::FindInterface(REFIID riid) {
  return LookupInterface(riid, {
                                   {&IID_IUnknown, static_cast<IShellPropSheetExt*>(this)},
                                   {&IID_IShellPropSheetExt, static_cast<IShellPropSheetExt*>(this)},
                               });
}

HRESULT PropertySheetHandler::ReplacePage(UINT, LPFNADDPROPSHEETPAGE, LPARAM) { return E_FAIL; }

UINT PropertySheetHandler::PageReleaseCallback(HWND, UINT uMsg, LPPROPSHEETPAGEA ppsp) {
  if (uMsg == PSPCB_RELEASE && ppsp) {
    if (PropertySheetHandler* handler = FromPage(ppsp)) handler->Release();
  }
  return 1;
}

PropertySheetHandler* PropertySheetHandler::FromPage(LPCPROPSHEETPAGEA ppsp) {
  return ppsp ? reinterpret_cast<PropertySheetHandler*>(ppsp->lParam) : nullptr;
}

bool PropertySheetHandler::AddPage(UINT templateBase, DLGPROC dialogProc, LPFNPSPCREATEPAGEA createPage,
                                   LPFNADDPROPSHEETPAGE pfnAddPage, LPARAM lParam) {
  PROPSHEETPAGEA psp{};
  psp.dwSize = sizeof psp;
  psp.dwFlags = PSP_USECALLBACK;  // the tab text is the template's caption
  psp.hInstance = g_hInstance;
  psp.pszTemplate = MAKEINTRESOURCEA(templateBase + g_languageOffset);
  psp.pfnDlgProc = dialogProc;
  psp.lParam = reinterpret_cast<LPARAM>(this);
  psp.pfnCallback = PageReleaseCallback;
  psp.pfnCreatePage = createPage;

  AddRef();  // the page's reference
  HPROPSHEETPAGE page = CreatePropertySheetPageA(&psp);
  if (!page) {
    // No page will ever release it: give the page's reference back here, or
    // the handler (and with it the library) would live for ever.
    Release();
    return false;
  }
  if (!pfnAddPage || !pfnAddPage(page, lParam)) {
    DestroyPropertySheetPage(page);  // its release callback gives the reference back
    return false;
  }
  return true;
}

UINT PageTemplateBase(LPCPROPSHEETPAGEA ppsp) {
  const auto id = static_cast<UINT>(reinterpret_cast<uintptr_t>(ppsp->pszTemplate));
  return id > kEnglishOffset ? id - kEnglishOffset : id;
}

PropertyPage::PropertyPage(QWidget* parent, LPCPROPSHEETPAGEA ppsp)
    : QWidget(parent), templateBase_(PageTemplateBase(ppsp)) {
  setObjectName(QString::number(templateBase_ + g_languageOffset));
  setWindowTitle(QString::fromUtf8(DialogCaption(templateBase_)));
}

QString PropertyPage::ControlText(int id) const { return QString::fromUtf8(DialogText(templateBase_, id)); }
