#include "platform/ui/property_sheet.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <atomic>
#include <cstring>
#include <memory>
#include <new>
#include <set>
#include <vector>

#include "platform/ui/icon_handles.h"
#include "platform/ui/imagelist.h"
#include "platform/ui/ui.h"

// The record behind a page handle: the sheet's own copy of the description.
struct _PSP {
  PROPSHEETPAGEA page;
};

namespace {

std::atomic<long> g_livePages{0};

constexpr const char* kSheetProperty = "platformPropertySheet";

bool UsesCallback(const PROPSHEETPAGEA& page) {
  return (page.dwFlags & PSP_USECALLBACK) != 0 && page.pfnCallback != nullptr;
}

// The dialog of one PropertySheetA call. Pages are built (their "templates"
// loaded) when the sheet is made, so the tabs carry their captions; each page
// is initialised when its tab is first shown.
class PropertySheetDialog final : public QDialog, public MessageTarget {
 public:
  PropertySheetDialog(LPCPROPSHEETHEADERA header, std::vector<HPROPSHEETPAGE> pages)
      : QDialog(header->hwndParent), pages_(std::move(pages)) {
    setObjectName(QStringLiteral("PropertySheet"));
    setProperty(kSheetProperty, true);
    setWindowTitle(Caption(header));
    if ((header->dwFlags & PSH_USEICONID) && header->pszIcon) {
      auto icon = reinterpret_cast<HICON>(LoadImageA(header->hInstance, header->pszIcon, IMAGE_ICON, 32, 32, 0));
      if (icon) {
        setWindowIcon(PlatformIconOf(icon));
        DestroyIcon(icon);
      }
    }

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("12320"));  // the sheet's tab control
    for (HPROPSHEETPAGE handle : pages_) {
      PROPSHEETPAGEA& page = handle->page;
      HWND widget = page.pfnCreatePage ? page.pfnCreatePage(tabs_, &page) : nullptr;
      if (!widget) widget = new QWidget(tabs_);
      QString title = (page.dwFlags & PSP_USETITLE) && page.pszTitle ? QString::fromUtf8(page.pszTitle)
                                                                      : widget->windowTitle();
      widget->setProperty("platformPage", QVariant::fromValue(static_cast<void*>(handle)));
      tabs_->addTab(widget, title);
      states_.push_back({widget, false});
    }

    // No Apply button here: PSH_NOAPPLYNOW is the only kind of sheet made.
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QDialogButtonBox::Ok);
    ok->setObjectName(QStringLiteral("1"));
    ok->setDefault(true);
    QPushButton* cancel = buttons->addButton(QDialogButtonBox::Cancel);
    cancel->setObjectName(QStringLiteral("2"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(buttons);

    const int start = header->nStartPage < pages_.size() ? static_cast<int>(header->nStartPage) : 0;
    tabs_->setCurrentIndex(start);
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) { InitPage(index); });
  }

  ~PropertySheetDialog() override {
    // Initialised pages hear WM_DESTROY while their widgets still exist;
    // then every page's handle goes, which calls its release callback.
    for (size_t i = 0; i < states_.size(); ++i) {
      if (states_[i].initialised && states_[i].widget) {
        const PROPSHEETPAGEA& page = pages_[i]->page;
        if (page.pfnDlgProc) page.pfnDlgProc(states_[i].widget, WM_DESTROY, 0, 0);
      }
    }
    for (auto& state : states_) delete state.widget.data();
    for (HPROPSHEETPAGE handle : pages_) DestroyPropertySheetPage(handle);
  }

  void InitCurrent() { InitPage(tabs_->currentIndex()); }

  void done(int result) override {
    const UINT code = result == QDialog::Accepted ? PSN_APPLY : PSN_RESET;
    for (size_t i = 0; i < states_.size(); ++i) {
      if (!states_[i].initialised || !states_[i].widget) continue;
      const PROPSHEETPAGEA& page = pages_[i]->page;
      if (!page.pfnDlgProc) continue;
      PSHNOTIFY notify{{this, 0, code}, 0};
      page.pfnDlgProc(states_[i].widget, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&notify));
    }
    QDialog::done(result);
  }

  LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM) override {
    auto* page = reinterpret_cast<QWidget*>(wParam);
    if (msg == PSM_CHANGED) {
      changed_.insert(page);
      return 0;
    }
    if (msg == PSM_UNCHANGED) {
      changed_.erase(page);
      return 0;
    }
    return 0;
  }

  bool anyChanged() const { return !changed_.empty(); }

 private:
  struct PageState {
    QPointer<QWidget> widget;
    bool initialised;
  };

  static QString Caption(LPCPROPSHEETHEADERA header) {
    const QString caption = header->pszCaption ? QString::fromUtf8(header->pszCaption) : QString();
    if (!(header->dwFlags & PSH_PROPTITLE)) return caption;
    // The system's words around the subject, in the user's language.
    if (PRIMARYLANGID(GetUserDefaultLangID()) == LANG_GERMAN)
      return QStringLiteral("Eigenschaften von %1").arg(caption);
    return QStringLiteral("%1 Properties").arg(caption);
  }

  void InitPage(int index) {
    if (index < 0 || static_cast<size_t>(index) >= states_.size()) return;
    PageState& state = states_[static_cast<size_t>(index)];
    if (state.initialised || !state.widget) return;
    state.initialised = true;
    PROPSHEETPAGEA& page = pages_[static_cast<size_t>(index)]->page;
    if (UsesCallback(page) && page.pfnCallback(nullptr, PSPCB_CREATE, &page) == 0) {
      // The page refused to be created: it stays empty and hears nothing.
      state.initialised = false;
      state.widget->setEnabled(false);
      return;
    }
    if (page.pfnDlgProc) page.pfnDlgProc(state.widget, WM_INITDIALOG, 0, reinterpret_cast<LPARAM>(&page));
  }

  std::vector<HPROPSHEETPAGE> pages_;
  std::vector<PageState> states_;
  std::set<QWidget*> changed_;
  QTabWidget* tabs_ = nullptr;
};

}  // namespace

extern "C" {

HPROPSHEETPAGE CreatePropertySheetPageA(LPCPROPSHEETPAGEA ppsp) {
  if (!ppsp || ppsp->dwSize < sizeof(PROPSHEETPAGEA)) return nullptr;
  auto* handle = new (std::nothrow) _PSP;
  if (!handle) return nullptr;
  std::memcpy(&handle->page, ppsp, sizeof(PROPSHEETPAGEA));
  handle->page.dwSize = sizeof(PROPSHEETPAGEA);
  ++g_livePages;
  return handle;
}

BOOL DestroyPropertySheetPage(HPROPSHEETPAGE page) {
  if (!page) return FALSE;
  if (UsesCallback(page->page)) page->page.pfnCallback(nullptr, PSPCB_RELEASE, &page->page);
  delete page;
  --g_livePages;
  return TRUE;
}

INT_PTR PropertySheetA(LPCPROPSHEETHEADERA psh) {
  if (!psh || psh->dwSize < sizeof(PROPSHEETHEADERA)) return -1;
  std::vector<HPROPSHEETPAGE> pages;
  for (UINT i = 0; psh->phpage && i < psh->nPages; ++i) {
    if (!psh->phpage[i]) continue;
    if (pages.size() < MAXPROPPAGES)
      pages.push_back(psh->phpage[i]);
    else
      DestroyPropertySheetPage(psh->phpage[i]);
  }
  if (pages.empty() || !qobject_cast<QApplication*>(QCoreApplication::instance())) {
    for (HPROPSHEETPAGE page : pages) DestroyPropertySheetPage(page);
    return -1;
  }
  auto sheet = std::make_unique<PropertySheetDialog>(psh, std::move(pages));
  sheet->setModal(true);
  sheet->InitCurrent();
  const int result = sheet->exec();
  sheet.reset();
  return result == QDialog::Accepted ? 1 : 0;
}

HWND PropertySheetOfPage(HWND page) {
  for (QWidget* w = page; w; w = w->parentWidget()) {
    if (w->property(kSheetProperty).toBool()) return w;
  }
  return nullptr;
}

long PlatformLivePropertySheetPages(void) { return g_livePages.load(); }
}

bool PlatformPropertySheetChanged(HWND sheet) {
  auto* dialog = dynamic_cast<PropertySheetDialog*>(sheet);
  return dialog && dialog->anyChanged();
}
