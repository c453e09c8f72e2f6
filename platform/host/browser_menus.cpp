#include "platform/host/browser_menus.h"

#include "platform/host/host_strings.h"
#include "platform/ui/menu_ids.h"
#include "platform/ui/window_messages.h"

namespace {
constexpr const char* kRoutedProperty = "hostRouted";

QMenu* makePopup(QWidget* parent, unsigned textId, UINT id) {
  auto* menu = new QMenu(HostText(textId), parent);
  PlatformSetMenuItemId(menu->menuAction(), id);
  return menu;
}

QString plainText(QString text) {
  const qsizetype tab = text.indexOf(QLatin1Char('\t'));
  if (tab >= 0) text.truncate(tab);
  text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
  text.remove(QLatin1Char('&'));
  text.replace(QStringLiteral("\x01"), QStringLiteral("&"));
  return text;
}

QAction* findItem(QMenu* menu, int id) {
  for (QAction* a : menu->actions()) {
    if (a->menu()) {
      if (QAction* inner = findItem(a->menu(), id)) return inner;
    } else if (!a->isSeparator() && PlatformMenuItemId(a) == static_cast<UINT>(id)) {
      return a;
    }
  }
  return nullptr;
}
}  // namespace

BrowserMenus::BrowserMenus(QMenuBar* bar, HostActions actions) : QObject(bar), bar_(bar), host_(actions) {
  QMenu* file = makePopup(bar, IDS_HOST_MENU_FILE, FCIDM_MENU_FILE);
  QMenu* edit = makePopup(bar, IDS_HOST_MENU_EDIT, FCIDM_MENU_EDIT);
  QMenu* view = makePopup(bar, IDS_HOST_MENU_VIEW, FCIDM_MENU_VIEW);
  QMenu* help = makePopup(bar, IDS_HOST_MENU_HELP, FCIDM_MENU_HELP);
  fillPopups(file, edit, view, help);
  ownPopups_ = {file, edit, view, help};
  setMenu(nullptr, nullptr);
}

void BrowserMenus::fillPopups(QMenu* file, QMenu* edit, QMenu* view, QMenu* help) {
  file->addAction(host_.close);
  edit->addAction(host_.find);
  view->addAction(host_.toggleToolbar);
  view->addAction(host_.toggleStatusBar);
  // The view merges its items at this separator (FCIDM_MENU_VIEW_SEP_OPTIONS).
  QAction* sep = view->addSeparator();
  PlatformSetMenuItemId(sep, FCIDM_MENU_VIEW_SEP_OPTIONS);
  view->addAction(host_.refresh);
  help->addAction(host_.about);
}

HRESULT BrowserMenus::insertMenus(HMENU shared) {
  if (!shared) return E_INVALIDARG;
  QMenu* file = makePopup(shared, IDS_HOST_MENU_FILE, FCIDM_MENU_FILE);
  QMenu* edit = makePopup(shared, IDS_HOST_MENU_EDIT, FCIDM_MENU_EDIT);
  QMenu* view = makePopup(shared, IDS_HOST_MENU_VIEW, FCIDM_MENU_VIEW);
  QMenu* help = makePopup(shared, IDS_HOST_MENU_HELP, FCIDM_MENU_HELP);
  fillPopups(file, edit, view, help);
  for (QMenu* m : {file, edit, view, help}) {
    m->setProperty("hostPopup", true);
    shared->addMenu(m);
  }
  return S_OK;
}

HRESULT BrowserMenus::removeMenus(HMENU shared) {
  if (!shared) return E_INVALIDARG;
  if (shared_ == shared) setMenu(nullptr, nullptr);
  for (QAction* a : shared->actions()) {
    QMenu* m = a->menu();
    if (m && m->property("hostPopup").toBool()) {
      shared->removeAction(a);
      m->deleteLater();
    }
  }
  return S_OK;
}

HRESULT BrowserMenus::setMenu(HMENU shared, HWND target) {
  shared_ = shared;
  target_ = target;
  if (!shared) {
    QList<QAction*> popups;
    for (QMenu* m : ownPopups_) popups.push_back(m->menuAction());
    showMenus(popups);
    return S_OK;
  }
  showMenus(shared->actions());
  return S_OK;
}

void BrowserMenus::showMenus(const QList<QAction*>& popups) {
  for (QAction* a : bar_->actions()) bar_->removeAction(a);
  for (QAction* a : popups) {
    bar_->addAction(a);
    if (QMenu* m = a->menu()) {
      if (!m->property(kRoutedProperty).toBool()) {
        m->setProperty(kRoutedProperty, true);
        connect(m, &QMenu::aboutToShow, this, [this, m] { onAboutToShow(m); });
      }
      routeActions(m);
    }
  }
}

void BrowserMenus::onAboutToShow(QMenu* popup) {
  if (shared_ && target_) {
    // lParam: the popup's position in the menu bar, not a system menu.
    const int position = static_cast<int>(bar_->actions().indexOf(popup->menuAction()));
    SendMessageA(target_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup),
                 MAKELPARAM(static_cast<WORD>(position < 0 ? 0 : position), FALSE));
  }
  // The view may have added items while handling the message.
  routeActions(popup);
}

void BrowserMenus::routeActions(QMenu* menu) {
  for (QAction* a : menu->actions()) {
    if (a->menu()) {
      if (!a->menu()->property(kRoutedProperty).toBool()) {
        a->menu()->setProperty(kRoutedProperty, true);
        QMenu* sub = a->menu();
        connect(sub, &QMenu::aboutToShow, this, [this, sub] { routeActions(sub); });
      }
      routeActions(a->menu());
      continue;
    }
    if (a->isSeparator() || a->property(kRoutedProperty).toBool()) continue;
    const UINT id = PlatformMenuItemId(a);
    if (id > FCIDM_SHVIEWLAST) continue;  // the host's own items handle themselves
    a->setProperty(kRoutedProperty, true);
    connect(a, &QAction::triggered, this, [this, a] {
      if (target_) SendMessageA(target_, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(PlatformMenuItemId(a)), 0), 0);
    });
  }
}

QMenu* BrowserMenus::popup(UINT id) const {
  for (QAction* a : bar_->actions())
    if (a->menu() && PlatformMenuItemId(a) == id) return a->menu();
  return nullptr;
}

QString BrowserMenus::viewItemText(int id) const {
  if (!shared_) return {};
  for (QAction* a : shared_->actions())
    if (a->menu())
      if (QAction* item = findItem(a->menu(), id)) return plainText(item->text());
  return {};
}
