#include "platform/host/browser_bars.h"

#include <QApplication>
#include <QStyle>
#include <algorithm>

#include "platform/ui/commctrl.h"
#include "platform/ui/menu_ids.h"

namespace {
QIcon standardIcon(QStyle::StandardPixmap sp) { return QApplication::style()->standardIcon(sp); }

QIcon themed(const char* name, QStyle::StandardPixmap fallback) {
  return QIcon::fromTheme(QString::fromLatin1(name), standardIcon(fallback));
}

// The common controls' built-in strips, drawn from the icon theme (with the
// style's pixmaps where the theme has none).
std::vector<QIcon> standardStrip() {
  std::vector<QIcon> s(STD_IMAGE_COUNT);
  s[STD_CUT] = themed("edit-cut", QStyle::SP_DialogDiscardButton);
  s[STD_COPY] = themed("edit-copy", QStyle::SP_FileIcon);
  s[STD_PASTE] = themed("edit-paste", QStyle::SP_DialogApplyButton);
  s[STD_UNDO] = themed("edit-undo", QStyle::SP_ArrowBack);
  s[STD_REDOW] = themed("edit-redo", QStyle::SP_ArrowForward);
  s[STD_DELETE] = themed("edit-delete", QStyle::SP_TrashIcon);
  s[STD_FILENEW] = themed("document-new", QStyle::SP_FileDialogNewFolder);
  s[STD_FILEOPEN] = themed("document-open", QStyle::SP_DialogOpenButton);
  s[STD_FILESAVE] = themed("document-save", QStyle::SP_DialogSaveButton);
  s[STD_PRINTPRE] = themed("document-print-preview", QStyle::SP_FileDialogContentsView);
  s[STD_PROPERTIES] = themed("document-properties", QStyle::SP_FileDialogInfoView);
  s[STD_HELP] = themed("help-contents", QStyle::SP_DialogHelpButton);
  s[STD_FIND] = themed("edit-find", QStyle::SP_FileDialogContentsView);
  s[STD_REPLACE] = themed("edit-find-replace", QStyle::SP_BrowserReload);
  s[STD_PRINT] = themed("document-print", QStyle::SP_DriveFDIcon);
  return s;
}

std::vector<QIcon> viewStrip() {
  std::vector<QIcon> s(VIEW_IMAGE_COUNT);
  s[VIEW_LARGEICONS] = themed("view-list-icons", QStyle::SP_FileDialogContentsView);
  s[VIEW_SMALLICONS] = themed("view-list-compact", QStyle::SP_FileDialogListView);
  s[VIEW_LIST] = themed("view-list-text", QStyle::SP_FileDialogListView);
  s[VIEW_DETAILS] = themed("view-list-details", QStyle::SP_FileDialogDetailedView);
  s[VIEW_SORTNAME] = themed("view-sort-ascending", QStyle::SP_ArrowUp);
  s[VIEW_SORTSIZE] = themed("view-sort-descending", QStyle::SP_ArrowDown);
  s[VIEW_SORTDATE] = themed("view-calendar", QStyle::SP_ArrowDown);
  s[VIEW_SORTTYPE] = themed("view-sort", QStyle::SP_ArrowDown);
  s[VIEW_PARENTFOLDER] = themed("go-up", QStyle::SP_FileDialogToParent);
  s[VIEW_NETCONNECT] = themed("network-connect", QStyle::SP_DriveNetIcon);
  s[VIEW_NETDISCONNECT] = themed("network-disconnect", QStyle::SP_DriveNetIcon);
  s[VIEW_NEWFOLDER] = themed("folder-new", QStyle::SP_FileDialogNewFolder);
  return s;
}
}  // namespace

BrowserToolbar::BrowserToolbar(QWidget* parent) : QToolBar(parent) {
  setObjectName(QStringLiteral("toolbar"));
  setIconSize(QSize(16, 16));
  setMovable(false);
}

void BrowserToolbar::clearViewButtons() {
  for (QAction* a : viewActions_) {
    removeAction(a);
    delete a;
  }
  viewActions_.clear();
}

void BrowserToolbar::setViewButtons(const TBBUTTON* buttons, UINT count, std::function<QString(int)> tooltipFor) {
  clearViewButtons();
  if (!buttons) return;
  viewActions_.push_back(addSeparator());
  for (UINT i = 0; i < count; ++i) {
    const TBBUTTON& b = buttons[i];
    if (b.fsStyle & TBSTYLE_SEP) {
      viewActions_.push_back(addSeparator());
      continue;
    }
    auto* action = new QAction(this);
    PlatformSetMenuItemId(action, static_cast<UINT>(b.idCommand));
    if (b.iBitmap >= 0 && static_cast<size_t>(b.iBitmap) < images_.size()) action->setIcon(images_[b.iBitmap]);
    const QString tip = tooltipFor ? tooltipFor(b.idCommand) : QString();
    action->setText(tip.isEmpty() ? QString::number(b.idCommand) : tip);
    action->setToolTip(tip);
    action->setCheckable((b.fsStyle & TBSTYLE_CHECK) != 0);
    action->setChecked((b.fsState & TBSTATE_CHECKED) != 0);
    action->setEnabled((b.fsState & TBSTATE_ENABLED) != 0);
    action->setVisible((b.fsState & TBSTATE_HIDDEN) == 0);
    const int id = b.idCommand;
    connect(action, &QAction::triggered, this, [this, id] {
      if (onViewCommand) onViewCommand(id);
    });
    addAction(action);
    viewActions_.push_back(action);
  }
}

QAction* BrowserToolbar::viewButton(int commandId) const {
  for (QAction* a : viewActions_)
    if (!a->isSeparator() && PlatformMenuItemId(a) == static_cast<UINT>(commandId)) return a;
  return nullptr;
}

LRESULT BrowserToolbar::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  const int id = static_cast<int>(LOWORD(wParam));
  QAction* button = nullptr;
  switch (msg) {
    case TB_ADDBITMAP: {
      const auto* add = reinterpret_cast<const TBADDBITMAP*>(lParam);
      if (!add || add->hInst != HINST_COMMCTRL) return -1;
      std::vector<QIcon> strip;
      if (add->nID == IDB_STD_SMALL_COLOR || add->nID == IDB_STD_LARGE_COLOR) strip = standardStrip();
      else if (add->nID == IDB_VIEW_SMALL_COLOR || add->nID == IDB_VIEW_LARGE_COLOR) strip = viewStrip();
      else return -1;
      const LRESULT first = static_cast<LRESULT>(images_.size());
      images_.insert(images_.end(), strip.begin(), strip.end());
      return first;
    }
    case TB_BUTTONCOUNT:
      return static_cast<LRESULT>(actions().size());
    default:
      break;
  }
  button = viewButton(id);
  if (!button) return 0;
  switch (msg) {
    case TB_CHECKBUTTON:
      button->setCheckable(true);
      button->setChecked(LOWORD(static_cast<DWORD_PTR>(lParam)) != 0);
      return TRUE;
    case TB_ENABLEBUTTON:
      button->setEnabled(LOWORD(static_cast<DWORD_PTR>(lParam)) != 0);
      return TRUE;
    case TB_HIDEBUTTON:
      button->setVisible(LOWORD(static_cast<DWORD_PTR>(lParam)) == 0);
      return TRUE;
    case TB_PRESSBUTTON:
      return TRUE;
    case TB_ISBUTTONCHECKED:
      return button->isChecked() ? TRUE : FALSE;
    case TB_ISBUTTONENABLED:
      return button->isEnabled() ? TRUE : FALSE;
    case TB_SETSTATE: {
      const DWORD state = LOWORD(static_cast<DWORD_PTR>(lParam));
      if (state & TBSTATE_CHECKED) button->setCheckable(true);
      button->setChecked((state & TBSTATE_CHECKED) != 0);
      button->setEnabled((state & TBSTATE_ENABLED) != 0);
      button->setVisible((state & TBSTATE_HIDDEN) == 0);
      return TRUE;
    }
    case TB_GETSTATE:
      return (button->isChecked() ? TBSTATE_CHECKED : 0) | (button->isEnabled() ? TBSTATE_ENABLED : 0) |
             (button->isVisible() ? 0 : TBSTATE_HIDDEN);
    default:
      return 0;
  }
}

BrowserStatusBar::BrowserStatusBar(QWidget* parent) : QStatusBar(parent) {
  setObjectName(QStringLiteral("statusbar"));
  setParts(1, nullptr);
}

void BrowserStatusBar::setParts(int count, const int* rightEdges) {
  // Parts are at most 256 (SB_SIMPLEID is the last part number).
  count = std::clamp(count, 1, 255);
  for (QLabel* l : parts_) {
    removeWidget(l);
    delete l;
  }
  parts_.clear();
  int left = 0;
  for (int i = 0; i < count; ++i) {
    auto* label = new QLabel(this);
    label->setObjectName(QStringLiteral("statuspart%1").arg(i));
    const int right = rightEdges ? rightEdges[i] : -1;
    if (right < 0) {
      addWidget(label, 1);
    } else {
      label->setFixedWidth(std::max(0, right - left));
      left = right;
      addWidget(label, 0);
    }
    parts_.push_back(label);
  }
}

void BrowserStatusBar::setSimpleText(const QString& text) {
  if (!parts_.empty()) parts_[0]->setText(text);
}

QString BrowserStatusBar::partText(int part) const {
  return part >= 0 && part < partCount() ? parts_[part]->text() : QString();
}

LRESULT BrowserStatusBar::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case SB_SETPARTS:
      setParts(static_cast<int>(wParam), reinterpret_cast<const int*>(lParam));
      return TRUE;
    case SB_SETTEXTA:
    case SB_SETTEXTW: {
      int part = static_cast<int>(LOBYTE(wParam));
      if (part == SB_SIMPLEID) part = 0;
      if (part >= partCount()) return FALSE;
      QString text;
      if (lParam) {
        text = msg == SB_SETTEXTA ? QString::fromUtf8(reinterpret_cast<const char*>(lParam))
                                  : QString::fromUtf16(reinterpret_cast<const char16_t*>(lParam));
      }
      parts_[part]->setText(text);
      return TRUE;
    }
    case SB_GETTEXTLENGTHA:
      return partText(static_cast<int>(wParam)).toUtf8().size();
    case SB_SIMPLE:
      return TRUE;
    default:
      return 0;
  }
}
