#include "library/shell/view_window.h"

#include <QFontMetrics>
#include <QResizeEvent>

#include "library/query/list_render.h"
#include "library/shell/item_list_model.h"
#include "library/shell/item_list_view.h"
#include "library/shell/shell_view.h"

namespace {
constexpr const char* kBannerText = "Datrova 2.2";
}

ViewWindow::ViewWindow(ShellView* view, ItemListModel* model, QWidget* parent)
    : QWidget(parent), view_(view), model_(model) {
  setProperty("windowClass", QString::fromLatin1(kViewWindowClass));
  setAttribute(Qt::WA_StyledBackground, true);
  setBackgroundRole(QPalette::Base);
  setAutoFillBackground(true);
  setFocusPolicy(Qt::StrongFocus);
  model_->setParent(this);

  banner_ = new QLabel(QString::fromLatin1(kBannerText), this);
  banner_->setObjectName(QString::number(kBannerControlId));
  banner_->setAlignment(Qt::AlignCenter);
  banner_->setTextFormat(Qt::PlainText);  // no prefix processing
  // The height of one line of the screen font.
  bannerHeight_ = QFontMetrics(banner_->font()).height();
  if (bannerHeight_ <= 0) bannerHeight_ = 200;

  list_ = new ItemListView(model_, this);
  list_->setObjectName(QString::number(kListControlId));

  overlay_ = new QLabel(this);
  overlay_->setObjectName(QString::number(kOverlayControlId));
  overlay_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  overlay_->setTextFormat(Qt::PlainText);
  overlay_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  overlay_->setWordWrap(true);
  overlay_->setMargin(6);
  overlay_->hide();
  setFocusProxy(list_);
  layoutChildren();
}

ViewWindow::~ViewWindow() {
  // What was copied from this list stays pasteable after the window goes.
  RenderAllClipboardFormats(this);
  delete list_;
  list_ = nullptr;
}

LRESULT ViewWindow::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!view_) return 0;
  return view_->WindowProc(msg, wParam, lParam);
}

void ViewWindow::showOverlay(const QString& text) {
  overlay_->setText(text);
  list_->hide();
  overlay_->show();
  overlay_->raise();
  overlay_->repaint();  // the fill that follows blocks the event loop
}

void ViewWindow::showList() {
  list_->show();
  overlay_->hide();
}

void ViewWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  layoutChildren();
}

void ViewWindow::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  if (view_) view_->WindowProc(WM_SETFOCUS, 0, 0);
}

void ViewWindow::layoutChildren() {
  const int w = width();
  const int h = height();
  banner_->setGeometry(0, 0, w, bannerHeight_);
  const int listHeight = std::max(0, h - bannerHeight_);
  if (list_) list_->setGeometry(0, bannerHeight_, w, listHeight);
  overlay_->setGeometry(0, bannerHeight_, w, listHeight);
}
