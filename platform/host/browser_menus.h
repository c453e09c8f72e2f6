// The browser's menu bar: the host's own File, Edit, View and Help popups
// (each popup's menuAction carries its FCIDM_MENU_* identifier), the shared
// menu a view builds with InsertMenusSB/SetMenuSB/RemoveMenusSB, and the
// routing of view items (identifiers FCIDM_SHVIEWFIRST..FCIDM_SHVIEWLAST) and
// WM_INITMENUPOPUP to the view's window.
#pragma once

#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <vector>

#include "platform/com/shlobj.h"

class BrowserMenus : public QObject {
  Q_OBJECT
 public:
  // The actions are the host's own items; they stay owned by the caller and
  // are put into the host's popups and into every shared menu.
  struct HostActions {
    QAction* close;
    QAction* find;
    QAction* refresh;
    QAction* toggleToolbar;
    QAction* toggleStatusBar;
    QAction* about;
  };
  BrowserMenus(QMenuBar* bar, HostActions actions);

  // IShellBrowser::InsertMenusSB: adds File, Edit, View, Help to `shared`.
  HRESULT insertMenus(HMENU shared);
  // IShellBrowser::SetMenuSB: shows `shared` (null: the host's own menus)
  // and sends its commands to `target`.
  HRESULT setMenu(HMENU shared, HWND target);
  HRESULT removeMenus(HMENU shared);
  // The popup with a FCIDM_MENU_* identifier in the menu bar as shown now.
  QMenu* popup(UINT id) const;
  HMENU sharedMenu() const { return shared_; }
  // The text of a view item (for toolbar tips), without '&' and shortcut.
  QString viewItemText(int id) const;

 private:
  void fillPopups(QMenu* file, QMenu* edit, QMenu* view, QMenu* help);
  void showMenus(const QList<QAction*>& popups);
  void routeActions(QMenu* menu);
  void onAboutToShow(QMenu* popup);

  QMenuBar* bar_;
  HostActions host_;
  std::vector<QMenu*> ownPopups_;  // the host's menus without a view
  QPointer<QMenu> shared_;
  QPointer<QWidget> target_;
};
