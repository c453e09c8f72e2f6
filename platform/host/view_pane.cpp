#include "platform/host/view_pane.h"

#include <QApplication>
#include <QStyle>

#include "platform/host/shell_namespace.h"

ViewPane::ViewPane(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("viewpane"));
  layout_ = new QVBoxLayout(this);
  layout_->setContentsMargins(0, 0, 0, 0);
  computerList_ = new QListWidget(this);
  computerList_->setObjectName(QStringLiteral("computerlist"));
  computerList_->setViewMode(QListView::IconMode);
  computerList_->setIconSize(QSize(32, 32));
  computerList_->setGridSize(QSize(120, 72));
  computerList_->setWordWrap(true);
  computerList_->setMovement(QListView::Static);
  computerList_->setContextMenuPolicy(Qt::CustomContextMenu);
  computerList_->hide();
  layout_->addWidget(computerList_);
  connect(computerList_, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { emit junctionActivated(item->data(Qt::UserRole).toByteArray()); });
  connect(computerList_, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
    if (QListWidgetItem* item = computerList_->itemAt(pos))
      emit junctionContextMenu(item->data(Qt::UserRole).toByteArray(), computerList_->viewport()->mapToGlobal(pos));
  });
  connect(qApp, &QApplication::focusChanged, this, &ViewPane::onFocusChanged);
}

ViewPane::~ViewPane() { leave(); }

UINT ViewPane::currentMode() const {
  if (view_) {
    FOLDERSETTINGS fs{lastMode_, 0};
    if (SUCCEEDED(view_->GetCurrentInfo(&fs)) && fs.ViewMode >= FVM_ICON && fs.ViewMode <= FVM_DETAILS)
      return fs.ViewMode;
  }
  return lastMode_;
}

void ViewPane::leave() {
  if (view_) {
    lastMode_ = currentMode();
    view_->SaveViewState();
    view_->DestroyViewWindow();  // deactivates the view and releases the browser
    view_.reset();
  }
  viewWindow_ = nullptr;
  uiState_ = SVUIA_DEACTIVATE;
  folder_.reset();
  computerList_->hide();
}

HRESULT ViewPane::show(const IdList& absolute, IShellBrowser* browser, UINT mode) {
  leave();
  if (absolute == MyComputerList()) {
    fillComputerList();
    computerList_->show();
    return S_OK;
  }
  ComPtr<IShellFolder> folder;
  HRESULT hr = BindFolder(absolute, folder.put());
  if (FAILED(hr)) return hr;
  ComPtr<IShellView> view;
  hr = folder->CreateViewObject(this, IID_IShellView, view.putVoid());
  if (FAILED(hr)) return hr;
  if (!view) return E_NOINTERFACE;
  // The view receives the mode this window last showed; it may restore its
  // own remembered mode from its view state stream.
  FOLDERSETTINGS fs{mode ? mode : FVM_DETAILS, 0};
  RECT rect{0, 0, width(), height()};
  HWND window = nullptr;
  // The pane already counts as the current folder's host while the view is
  // created: the view asks the browser for its view state stream.
  folder_ = folder;
  view_ = view;
  hr = view->CreateViewWindow(nullptr, &fs, browser, &rect, &window);
  if (FAILED(hr) || !window) {
    folder_.reset();
    view_.reset();
    return FAILED(hr) ? hr : E_FAIL;
  }
  viewWindow_ = window;
  layout_->addWidget(window);
  window->show();
  activate(window->isAncestorOf(QApplication::focusWidget()) ? SVUIA_ACTIVATE_FOCUS : SVUIA_ACTIVATE_NOFOCUS);
  return S_OK;
}

void ViewPane::refresh() {
  if (view_) view_->Refresh();
  else if (computerList_->isVisible()) fillComputerList();
}

void ViewPane::fillComputerList() {
  computerList_->clear();
  const QIcon icon = QApplication::style()->standardIcon(QStyle::SP_DirIcon);
  for (const Junction& j : ListJunctions()) {
    auto* item = new QListWidgetItem(icon, j.name, computerList_);
    item->setData(Qt::UserRole, j.absolute.toBytes());
  }
}

void ViewPane::activate(UINT state) {
  if (!view_ || state == uiState_) return;
  uiState_ = state;
  view_->UIActivate(state);
}

void ViewPane::onFocusChanged(QWidget*, QWidget* now) {
  if (!view_ || !viewWindow_) return;
  if (now && (now == viewWindow_ || viewWindow_->isAncestorOf(now))) {
    activate(SVUIA_ACTIVATE_FOCUS);
  } else if (now && now->window() == window()) {
    // Focus moved to the tree, the address line or the toolbar.
    activate(SVUIA_ACTIVATE_NOFOCUS);
  }
}
