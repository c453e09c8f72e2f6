#include "library/propsheet/properties.h"

#include <vector>

#include "library/catalog/item_id.h"
#include "library/propsheet/column_page.h"
#include "library/propsheet/dsn_page.h"
#include "library/propsheet/procedure_page.h"
#include "library/propsheet/settings_page.h"
#include "library/propsheet/table_pages.h"
#include "library/res/resource_ids.h"
#include "library/shell/module_state.h"
#include "library/shell/shell_folder.h"

namespace {

// The pages a sheet collects, at most MAXPROPPAGES; further ones are refused.
struct PageCollector {
  std::vector<HPROPSHEETPAGE> pages;

  static BOOL Add(HPROPSHEETPAGE page, LPARAM lParam) {
    auto* self = reinterpret_cast<PageCollector*>(lParam);
    if (!self || self->pages.size() >= MAXPROPPAGES) return FALSE;
    self->pages.push_back(page);
    return TRUE;
  }
};

// Creates, asks and releases one handler.
template <typename Handler>
HRESULT AskHandler(Handler* handler, LPFNADDPROPSHEETPAGE pfnAddPage, LPARAM lParam) {
  if (!handler) return E_OUTOFMEMORY;
  handler->AddRef();
  handler->AddPages(pfnAddPage, lParam);
  handler->Release();
  return S_OK;
}

}  // namespace

INT_PTR ShowPropertiesFor(ShellFolder* folder, HWND owner, UINT cidl, LPCITEMIDLIST* apidl) {
  LPCITEMIDLIST subject = nullptr;
  if (cidl > 0 && apidl) {
    subject = apidl[0];
  } else if (folder && folder->Parent()) {
    subject = FindLastItem(folder->AbsoluteIdList());
  }
  // A root folder's subject (or none) has no kind: the settings page only.
  const uint32_t kind = subject ? GetItemKind(subject) : 0;
  const char* text = kind ? GetItemText(0, subject) : nullptr;
  const std::string title = text && *text ? text : kProductTitle;

  LPCITEMIDLIST folderList = folder ? folder->AbsoluteIdList() : nullptr;
  PageCollector collector;
  auto lParam = reinterpret_cast<LPARAM>(&collector);
  switch (kind) {
    case KIND_DSN:
      AskHandler(DsnPageHandler::Create(subject), PageCollector::Add, lParam);
      break;
    case KIND_TABLE:
      AskHandler(TablePagesHandler::Create(folder, subject), PageCollector::Add, lParam);
      AskHandler(DsnPageHandler::Create(folderList), PageCollector::Add, lParam);
      break;
    case KIND_COLUMN:
      AskHandler(ColumnPageHandler::Create(subject), PageCollector::Add, lParam);
      AskHandler(TablePagesHandler::Create(folder, folderList), PageCollector::Add, lParam);
      AskHandler(DsnPageHandler::Create(folderList), PageCollector::Add, lParam);
      break;
    case KIND_PROCEDURE:
    case KIND_PROCCOLUMN:
      AskHandler(ProcedurePageHandler::Create(folder, subject), PageCollector::Add, lParam);
      AskHandler(DsnPageHandler::Create(folderList), PageCollector::Add, lParam);
      break;
    default:
      break;
  }
  AskHandler(SettingsPageHandler::Create(), PageCollector::Add, lParam);

  PROPSHEETHEADERA header{};
  header.dwSize = sizeof header;
  header.dwFlags = PSH_PROPTITLE | PSH_USEICONID | PSH_NOAPPLYNOW;
  header.hwndParent = owner;
  header.hInstance = g_hInstance;
  header.pszIcon = MAKEINTRESOURCEA(IDI_PRODUCT);
  header.pszCaption = title.c_str();
  header.nPages = static_cast<UINT>(collector.pages.size());
  header.nStartPage = 0;
  header.phpage = collector.pages.data();
  return PropertySheetA(&header);
}

HRESULT AddViewPropertySheetPages(LPCITEMIDLIST folderIdList, LPFNADDPROPSHEETPAGE pfnAddPage, LPARAM lParam) {
  HRESULT hr = AskHandler(DsnPageHandler::Create(folderIdList), pfnAddPage, lParam);
  if (FAILED(hr)) return hr;
  LPCITEMIDLIST last = FindLastItem(folderIdList);
  if (IsColumnItem(last)) hr = AskHandler(ColumnPageHandler::Create(last), pfnAddPage, lParam);
  return hr;
}

HRESULT AddSettingsPropertySheetPages(LPFNADDPROPSHEETPAGE pfnAddPage, LPARAM lParam) {
  return AskHandler(SettingsPageHandler::Create(), pfnAddPage, lParam);
}
