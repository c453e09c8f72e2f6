#include "library/propsheet/procedure_page.h"

#include <QLabel>
#include <QVBoxLayout>

#include <new>

#include "library/catalog/item_id.h"
#include "library/res/resource_ids.h"
#include "library/shell/shell_folder.h"

namespace {

class ProcedurePage final : public PropertyPage {
 public:
  ProcedurePage(QWidget* parent, LPCPROPSHEETPAGEA ppsp) : PropertyPage(parent, ppsp) {
    auto* text = new QLabel(ControlText(IDC_PROC_NOT_IMPLEMENTED), this);
    text->setObjectName(QString::number(IDC_PROC_NOT_IMPLEMENTED));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addStretch(1);
  }
};

HWND CreateProcedurePage(HWND parent, LPCPROPSHEETPAGEA ppsp) { return new ProcedurePage(parent, ppsp); }

INT_PTR ProcedurePageProc(HWND hwnd, UINT msg, WPARAM, LPARAM lParam) {
  auto* page = dynamic_cast<ProcedurePage*>(hwnd);
  if (!page) return FALSE;
  switch (msg) {
    case WM_INITDIALOG:
      // Nothing to fill: the page shows its fixed text.
      page->Attach(reinterpret_cast<LPCPROPSHEETPAGEA>(lParam));
      return TRUE;
    case WM_DESTROY:
      return TRUE;
    default:
      return FALSE;
  }
}

std::string TextOf(const char* text) { return text ? text : ""; }

}  // namespace

ProcedurePageHandler::ProcedurePageHandler(ShellFolder* folder, LPCITEMIDLIST item)
    : PropertySheetHandler(item), folder_(folder) {
  if (folder_) folder_->AddRef();
}

ProcedurePageHandler::~ProcedurePageHandler() {
  if (folder_) folder_->Release();
}

ProcedurePageHandler* ProcedurePageHandler::Create(ShellFolder* folder, LPCITEMIDLIST item) {
  return new (std::nothrow) ProcedurePageHandler(folder, item);
}

HRESULT ProcedurePageHandler::AddPages(LPFNADDPROPSHEETPAGE pfnAddPage, LPARAM lParam) {
  dataSource_ = folder_ ? TextOf(folder_->GetFolderDsn()) : std::string();
  procedure_ = TextOf(GetItemText(0, IdList()));
  catalog_ = TextOf(GetItemText(1, IdList()));
  schema_ = TextOf(GetItemText(2, IdList()));
  AddPage(IDD_PAGE_PROCEDURE, ProcedurePageProc, CreateProcedurePage, pfnAddPage, lParam);
  return S_OK;
}
