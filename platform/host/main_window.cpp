#include "platform/host/main_window.h"

#include <optional>

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QStyle>
#include <QTimer>
#include <QToolBar>

#include "platform/com/shell_notify.h"
#include "platform/host/browser_bars.h"
#include "platform/host/browser_menus.h"
#include "platform/host/context_menus.h"
#include "platform/host/host_strings.h"
#include "platform/host/shell_browser.h"
#include "platform/host/shell_namespace.h"
#include "platform/host/tree_pane.h"
#include "platform/host/view_pane.h"
#include "platform/ui/menu_ids.h"
#include "platform/ui/ui.h"
#include "platform/ui/window_messages.h"

namespace {
// The host's own commands, in the browser's identifier range.
constexpr UINT kCmdClose = FCIDM_BROWSERFIRST + 0x10;
constexpr UINT kCmdFind = FCIDM_BROWSERFIRST + 0x11;
constexpr UINT kCmdRefresh = FCIDM_BROWSERFIRST + 0x12;
constexpr UINT kCmdToolbar = FCIDM_BROWSERFIRST + 0x13;
constexpr UINT kCmdStatusBar = FCIDM_BROWSERFIRST + 0x14;
constexpr UINT kCmdAbout = FCIDM_BROWSERFIRST + 0x15;
constexpr UINT kCmdBack = FCIDM_BROWSERFIRST + 0x16;
constexpr UINT kCmdUp = FCIDM_BROWSERFIRST + 0x17;
constexpr UINT kCmdOpen = FCIDM_BROWSERFIRST + 0x18;
constexpr UINT kCmdExplore = FCIDM_BROWSERFIRST + 0x19;

QAction* makeAction(QObject* parent, unsigned textId, UINT id) {
  auto* action = new QAction(HostText(textId), parent);
  PlatformSetMenuItemId(action, id);
  // Texts carry their shortcut after a tab, as menu resources do.
  const qsizetype tab = action->text().indexOf(QLatin1Char('\t'));
  if (tab >= 0) action->setText(action->text().left(tab));
  return action;
}

QString hex(HRESULT hr) { return QString::number(static_cast<uint32_t>(hr), 16).toUpper().rightJustified(8, '0'); }
}  // namespace

ExplorerWindow::ExplorerWindow(bool explore, const IdList& start) : browser_(new ShellBrowser(this)) {
  setAttribute(Qt::WA_DeleteOnClose);
  // GetClassNameA reports this property; the view pane carries it too, as it
  // is the window the browser hands to views (IShellBrowser::GetWindow).
  const char* windowClass = explore ? "ExploreWClass" : "CabinetWClass";
  setProperty("windowClass", QString::fromLatin1(windowClass));
  resize(960, 600);

  auto* close = makeAction(this, IDS_HOST_CLOSE, kCmdClose);
  findAction_ = makeAction(this, IDS_HOST_FIND, kCmdFind);
  findAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
  findAction_->setShortcutContext(Qt::WindowShortcut);
  auto* refreshAction = makeAction(this, IDS_HOST_REFRESH, kCmdRefresh);
  refreshAction->setShortcut(QKeySequence(Qt::Key_F5));
  auto* toggleToolbar = makeAction(this, IDS_HOST_TOOLBAR, kCmdToolbar);
  auto* toggleStatus = makeAction(this, IDS_HOST_STATUSBAR, kCmdStatusBar);
  auto* about = makeAction(this, IDS_HOST_ABOUT, kCmdAbout);
  backAction_ = makeAction(this, IDS_HOST_BACK, kCmdBack);
  backAction_->setIcon(style()->standardIcon(QStyle::SP_ArrowBack));
  backAction_->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Left));
  upAction_ = makeAction(this, IDS_HOST_UP, kCmdUp);
  upAction_->setIcon(style()->standardIcon(QStyle::SP_FileDialogToParent));
  upAction_->setShortcut(QKeySequence(Qt::Key_Backspace));
  for (QAction* a : {close, findAction_, refreshAction, backAction_, upAction_}) addAction(a);
  toggleToolbar->setCheckable(true);
  toggleToolbar->setChecked(true);
  toggleStatus->setCheckable(true);
  toggleStatus->setChecked(true);

  toolbar_ = new BrowserToolbar(this);
  toolbar_->onViewCommand = [this](int id) {
    SendMessageA(pane_->viewWindow(), WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), 0), 0);
  };
  toolbar_->addAction(backAction_);
  toolbar_->addAction(upAction_);
  addToolBar(toolbar_);
  status_ = new BrowserStatusBar(this);
  setStatusBar(status_);
  menus_ = new BrowserMenus(menuBar(), {close, findAction_, refreshAction, toggleToolbar, toggleStatus, about});

  // Address line above the panes.
  auto* addressBar = new QToolBar(this);
  addressBar->setObjectName(QStringLiteral("addressbar"));
  addressBar->setMovable(false);
  addressBar->addWidget(new QLabel(HostText(IDS_HOST_ADDRESS) + QStringLiteral(" "), addressBar));
  address_ = new QLineEdit(addressBar);
  address_->setObjectName(QStringLiteral("address"));
  addressBar->addWidget(address_);
  addToolBarBreak();
  addToolBar(addressBar);

  pane_ = new ViewPane(this);
  pane_->setProperty("windowClass", QString::fromLatin1(windowClass));
  if (explore) {
    auto* splitter = new QSplitter(this);
    tree_ = new TreePane(splitter);
    splitter->addWidget(tree_);
    splitter->addWidget(pane_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({240, 720});
    setCentralWidget(splitter);
    tree_->onActivated = [this](const IdList& absolute) {
      // Leave the tree's signal before the view changes under it.
      QTimer::singleShot(0, this, [this, absolute] {
        if (!(absolute == current_)) navigate(absolute);
      });
    };
    tree_->onContextMenu = [this](const IdList& absolute, const QPoint& pos) { showContextMenu(absolute, pos); };
  } else {
    setCentralWidget(pane_);
  }

  connect(close, &QAction::triggered, this, &QWidget::close);
  connect(findAction_, &QAction::triggered, this, &ExplorerWindow::find);
  connect(refreshAction, &QAction::triggered, this, &ExplorerWindow::refresh);
  connect(backAction_, &QAction::triggered, this, &ExplorerWindow::goBack);
  connect(upAction_, &QAction::triggered, this, &ExplorerWindow::goUp);
  connect(toggleToolbar, &QAction::toggled, toolbar_, &QWidget::setVisible);
  connect(toggleStatus, &QAction::toggled, status_, &QWidget::setVisible);
  connect(about, &QAction::triggered, this,
          [this] { QMessageBox::about(this, HostText(IDS_HOST_TITLE), HostText(IDS_HOST_ABOUT_TEXT)); });
  connect(address_, &QLineEdit::returnPressed, this, [this] {
    const QString text = address_->text().trimmed();
    if (text.compare(HostText(IDS_HOST_MY_COMPUTER), Qt::CaseInsensitive) == 0) {
      navigate(MyComputerList());
    } else if (auto j = FindJunctionByName(text)) {
      navigate(j->absolute);
    } else {
      MessageBoxA(this, HostText(IDS_HOST_NOT_FOUND).arg(text).toUtf8().constData(),
                  HostText(IDS_HOST_TITLE).toUtf8().constData(), MB_OK | MB_ICONEXCLAMATION);
      address_->setText(AddressOf(current_));
    }
  });
  connect(pane_, &ViewPane::junctionActivated, this, [this](const QByteArray& bytes) {
    if (auto list = IdList::fromBytes(bytes)) QTimer::singleShot(0, this, [this, l = *list] { navigate(l); });
  });
  connect(pane_, &ViewPane::junctionContextMenu, this, [this](const QByteArray& bytes, const QPoint& pos) {
    if (auto list = IdList::fromBytes(bytes)) showContextMenu(*list, pos);
  });

  listenerId_ = PlatformAddChangeNotifyListener([self = QPointer<ExplorerWindow>(this)](LONG event, UINT,
                                                                                        LPCITEMIDLIST pidl) {
    if (!self || !(event & (SHCNE_UPDATEDIR | SHCNE_UPDATEITEM | SHCNE_MKDIR | SHCNE_RMDIR | SHCNE_CREATE |
                            SHCNE_DELETE | SHCNE_RENAMEITEM)))
      return;
    if (auto list = IdList::fromRaw(pidl)) self->folderChanged(*list);
  });

  if (!navigate(start)) navigate(MyComputerList());
}

ExplorerWindow::~ExplorerWindow() {
  PlatformRemoveChangeNotifyListener(listenerId_);
  pane_->leave();
  menus_->setMenu(nullptr, nullptr);
  browser_->detach();
  browser_->Release();
  FreeUnusedExtensions();
}

void ExplorerWindow::closeEvent(QCloseEvent* event) {
  pane_->leave();
  FreeUnusedExtensions();
  event->accept();
}

bool ExplorerWindow::navigate(const IdList& absolute, bool remember) {
  const IdList previous = current_;
  const UINT mode = pane_->currentMode();
  // The old view saves its state into its own folder's stream before the
  // browser's current folder changes.
  pane_->leave();
  current_ = absolute;
  toolbar_->clearViewButtons();
  const HRESULT hr = pane_->show(absolute, browser_, mode);
  if (FAILED(hr)) {
    current_ = previous;
    MessageBoxA(this, HostText(IDS_HOST_CANNOT_OPEN).arg(hex(hr)).toUtf8().constData(),
                HostText(IDS_HOST_TITLE).toUtf8().constData(), MB_OK | MB_ICONEXCLAMATION);
    // The old folder was left; show it again.
    if (!previous.isEmpty() && !(previous == absolute)) pane_->show(previous, browser_, mode);
    else pane_->show(MyComputerList(), browser_, mode);
    FreeUnusedExtensions();
    return false;
  }
  if (remember && !previous.isEmpty() && !(previous == absolute)) history_.push_back(previous);
  // The libraries of the folder just left may be unused now.
  FreeUnusedExtensions();
  const QString name = AddressOf(absolute);
  address_->setText(name);
  setWindowTitle(name);
  if (!pane_->view()) {
    menus_->setMenu(nullptr, nullptr);
    status_->setSimpleText(HostText(IDS_HOST_OBJECTS).arg(pane_->computerList()->count()));
  }
  if (tree_) tree_->showCurrent(absolute);
  updateActions();
  return true;
}

void ExplorerWindow::updateActions() {
  backAction_->setEnabled(!history_.empty());
  upAction_->setEnabled(current_.itemCount() > MyComputerList().itemCount());
  findAction_->setEnabled(pane_->folder() != nullptr);
}

void ExplorerWindow::goBack() {
  if (history_.empty()) return;
  const IdList target = history_.back();
  history_.pop_back();
  navigate(target, false);
}

void ExplorerWindow::goUp() {
  if (current_.itemCount() <= MyComputerList().itemCount()) return;
  navigate(current_.parent());
}

void ExplorerWindow::refresh() {
  if (tree_) tree_->refreshFolder(current_);
  pane_->refresh();
}

void ExplorerWindow::find() {
  if (IShellFolder* folder = pane_->folder()) InvokeFolderVerb(folder, pane_, "find");
}

void ExplorerWindow::folderChanged(const IdList& absolute) {
  if (tree_) tree_->refreshFolder(absolute);
  if (absolute == current_ || (absolute == MyComputerList() && !pane_->view())) pane_->refresh();
}

HRESULT ExplorerWindow::browseObject(LPCITEMIDLIST pidl, UINT flags) {
  IdList target;
  if (flags & SBSP_PARENT) {
    if (current_.itemCount() <= MyComputerList().itemCount()) return E_FAIL;
    target = current_.parent();
  } else if (flags & SBSP_NAVIGATEBACK) {
    if (history_.empty()) return E_FAIL;
    QTimer::singleShot(0, this, [this] { goBack(); });
    return S_OK;
  } else {
    std::optional<IdList> list = IdList::fromRaw(pidl);
    if (!list) return E_INVALIDARG;
    target = (flags & SBSP_RELATIVE) ? current_ + *list : *list;
  }
  if (flags & SBSP_NEWBROWSER) {
    const bool explore = (flags & SBSP_EXPLOREMODE) ? true : (flags & SBSP_OPENMODE) ? false : exploreMode();
    QTimer::singleShot(0, this, [explore, target] { (new ExplorerWindow(explore, target))->show(); });
    return S_OK;
  }
  // The asking view is usually inside its own command handling; it is
  // destroyed only after that call has returned.
  QTimer::singleShot(0, this, [this, target] { navigate(target); });
  return S_OK;
}

void ExplorerWindow::showContextMenu(const IdList& absolute, const QPoint& globalPos) {
  QMenu menu(this);
  QAction* open = menu.addAction(HostText(IDS_HOST_OPEN));
  PlatformSetMenuItemId(open, kCmdOpen);
  QAction* explore = menu.addAction(HostText(IDS_HOST_EXPLORE));
  PlatformSetMenuItemId(explore, kCmdExplore);
  menu.setDefaultAction(exploreMode() ? explore : open);
  std::vector<ComPtr<IContextMenu>> handlers;
  const IdList myComputer = MyComputerList();
  QAction* properties = nullptr;
  std::optional<CLSID> junction;
  if (absolute.itemCount() == myComputer.itemCount() + 1) {
    junction = ReadJunctionItem(absolute.last());
    if (junction) handlers = JunctionMenuHandlers(*junction);
  } else if (absolute.itemCount() > myComputer.itemCount() + 1) {
    // A folder inside an extension: its parent folder's menu for the item.
    ComPtr<IShellFolder> parent;
    if (SUCCEEDED(BindFolder(absolute.parent(), parent.put())) && parent) {
      ComPtr<IContextMenu> cm;
      const IdList item = absolute.last();
      LPCITEMIDLIST raw = item.get();
      if (SUCCEEDED(parent->GetUIObjectOf(this, 1, &raw, IID_IContextMenu, nullptr, cm.putVoid())) && cm)
        handlers.push_back(cm);
    }
  }
  ExtensionMenu extension(std::move(handlers));
  extension.fill(&menu, CMF_NORMAL | (exploreMode() ? CMF_EXPLORE : 0));
  if (junction && HasJunctionPropertySheet(*junction)) {
    menu.addSeparator();
    properties = menu.addAction(HostText(IDS_HOST_PROPERTIES));
  }
  QAction* picked = menu.exec(globalPos);
  if (picked && picked == properties) {
    const CLSID clsid = *junction;
    const QString caption = AddressOf(absolute);
    QTimer::singleShot(0, this, [this, clsid, caption] {
      ShowJunctionProperties(clsid, this, caption);
      FreeUnusedExtensions();
    });
  } else if (picked == open) {
    QTimer::singleShot(0, this, [this, absolute] {
      if (exploreMode()) (new ExplorerWindow(false, absolute))->show();
      else navigate(absolute);
    });
  } else if (picked == explore) {
    QTimer::singleShot(0, this, [this, absolute] {
      if (exploreMode()) navigate(absolute);
      else (new ExplorerWindow(true, absolute))->show();
    });
  } else {
    extension.invoke(picked, this);
  }
}
