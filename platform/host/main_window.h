// A host window: the tree pane (explore mode; window class "ExploreWClass")
// or none ("CabinetWClass"), the address line, Back and Up, the menu bar,
// the toolbar, the status bar and the view pane.
#pragma once

#include <QLineEdit>
#include <QMainWindow>
#include <QSplitter>
#include <vector>

#include "platform/com/shlobj.h"
#include "platform/host/id_list.h"

class BrowserMenus;
class BrowserStatusBar;
class BrowserToolbar;
class ShellBrowser;
class TreePane;
class ViewPane;

class ExplorerWindow : public QMainWindow {
  Q_OBJECT
 public:
  ExplorerWindow(bool explore, const IdList& start);
  ~ExplorerWindow() override;

  // Leaves the current folder and shows `absolute`; false (with a message
  // box) when it cannot be opened.
  bool navigate(const IdList& absolute, bool remember = true);
  void goBack();
  void goUp();
  void refresh();
  void find();
  // Refreshes what shows `absolute` (tree node and view) after SHChangeNotify.
  void folderChanged(const IdList& absolute);

  bool exploreMode() const { return tree_ != nullptr; }
  const IdList& current() const { return current_; }
  ShellBrowser* browser() const { return browser_; }
  TreePane* tree() const { return tree_; }
  ViewPane* viewPane() const { return pane_; }
  BrowserMenus* menus() const { return menus_; }
  BrowserToolbar* toolbar() const { return toolbar_; }
  BrowserStatusBar* status() const { return status_; }
  QLineEdit* address() const { return address_; }
  QAction* findAction() const { return findAction_; }
  QAction* backAction() const { return backAction_; }
  QAction* upAction() const { return upAction_; }

  // Navigation asked by a view (IShellBrowser::BrowseObject): queued, so
  // that the asking view is not destroyed inside its own call.
  HRESULT browseObject(LPCITEMIDLIST pidl, UINT flags);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void showContextMenu(const IdList& absolute, const QPoint& globalPos);
  void updateActions();

  ShellBrowser* browser_;
  TreePane* tree_ = nullptr;
  ViewPane* pane_;
  BrowserMenus* menus_;
  BrowserToolbar* toolbar_;
  BrowserStatusBar* status_;
  QLineEdit* address_;
  QAction* backAction_;
  QAction* upAction_;
  QAction* findAction_;
  IdList current_;
  std::vector<IdList> history_;
  int listenerId_ = 0;
};
