#include "library/shell/view_menus.h"

#include <QMenu>
#include <cstdio>
#include <memory>

#include "library/catalog/item_id.h"
#include "library/res/menus.h"
#include "library/res/resource_ids.h"
#include "library/res/strings.h"
#include "library/shell/item_list_model.h"
#include "library/shell/item_list_view.h"
#include "library/shell/shell_folder.h"
#include "library/shell/shell_view.h"
#include "library/shell/view_window.h"
#include "platform/ui/commctrl.h"
#include "platform/ui/menu_ids.h"

namespace {

constexpr int kMaxSortColumns = 32;
constexpr int kMenuTextMax = 79;
constexpr UINT kViewMenuIdMax = 0x7FFF;

bool IsSeparatorAt(QMenu* menu, int position) {
  const QList<QAction*> actions = menu->actions();
  return position >= 0 && position < actions.size() && actions[position]->isSeparator();
}

QAction* ActionAt(QMenu* menu, int position) {
  const QList<QAction*> actions = menu->actions();
  return position >= 0 && position < actions.size() ? actions[position] : nullptr;
}

void InsertSeparatorAt(QMenu* menu, int position) {
  auto* separator = new QAction(menu);
  separator->setSeparator(true);
  menu->insertAction(ActionAt(menu, position), separator);
}

void DeleteItemAt(QMenu* menu, int position) {
  if (QAction* action = ActionAt(menu, position)) {
    menu->removeAction(action);
    if (action->parent() == menu) delete action;
  }
}

QAction* CopyCommand(QAction* source, QMenu* destination, UINT id) {
  auto* copy = new QAction(source->text(), destination);
  copy->setCheckable(source->isCheckable());
  copy->setChecked(source->isChecked());
  copy->setEnabled(source->isEnabled());
  copy->setIcon(source->icon());
  PlatformSetMenuItemId(copy, id);
  copy->setObjectName(QString::number(id));
  return copy;
}

// The item of a menu tree with identifier `id` and the menu that holds it.
QMenu* MenuHolding(QMenu* menu, UINT id, int* position) {
  const QList<QAction*> actions = menu->actions();
  for (int i = 0; i < actions.size(); ++i) {
    if (QMenu* sub = actions[i]->menu()) {
      if (QMenu* inner = MenuHolding(sub, id, position)) return inner;
    } else if (!actions[i]->isSeparator() && PlatformMenuItemId(actions[i]) == id) {
      *position = i;
      return menu;
    }
  }
  return nullptr;
}

QString EscapeMnemonics(QString text) { return text.replace(QLatin1Char('&'), QStringLiteral("&&")); }

}  // namespace

UINT MenuItemIdAt(QMenu* menu, int position) {
  QAction* action = ActionAt(menu, position);
  if (!action) return kNoMenuItemId;
  const UINT id = PlatformMenuItemId(action);
  return action->isSeparator() && id == kNoMenuItemId ? 0 : id;
}

int MenuPositionOf(QMenu* menu, UINT id) {
  const QList<QAction*> actions = menu->actions();
  for (int i = 0; i < actions.size(); ++i)
    if (MenuItemIdAt(menu, i) == id) return i;
  return -1;
}

QMenu* MenuPopupWithId(QMenu* menu, UINT id) {
  if (!menu) return nullptr;
  for (QAction* action : menu->actions())
    if (action->menu() && PlatformMenuItemId(action) == id) return action->menu();
  return nullptr;
}

UINT MergeMenus(QMenu* destination, QMenu* source, UINT insertPosition, UINT idShift, UINT idMax, UINT flags) {
  UINT nextId = idShift;
  if (!destination || !source) return nextId;
  const int count = static_cast<int>(destination->actions().size());
  int position;
  bool lastWasSeparator;
  if (insertPosition >= static_cast<UINT>(count)) {
    position = count;
    lastWasSeparator = true;  // the end counts as a separator
  } else {
    position = static_cast<int>(insertPosition);
    lastWasSeparator = IsSeparatorAt(destination, position);
    if ((flags & MM_ADDSEPARATOR) && !lastWasSeparator) {
      InsertSeparatorAt(destination, position);
      lastWasSeparator = true;
    }
  }

  // From the last source item to the first, each inserted at the position,
  // so their order is kept.
  const QList<QAction*> items = source->actions();
  for (qsizetype i = items.size() - 1; i >= 0; --i) {
    QAction* item = items[i];
    QAction* inserted = nullptr;
    if (item->isSeparator()) {
      if (lastWasSeparator) continue;
      auto* separator = new QAction(destination);
      separator->setSeparator(true);
      inserted = separator;
      lastWasSeparator = true;
    } else if (QMenu* subSource = item->menu()) {
      // A popup that carries no identifier (as the resource popups do) is
      // copied without one even when submenus have identifiers.
      UINT id = kNoMenuItemId;
      if ((flags & MM_SUBMENUSHAVEIDS) && PlatformMenuItemId(item) != kNoMenuItemId) {
        id = PlatformMenuItemId(item) + idShift;
        if (id > idMax) continue;
        if (id + 1 > nextId) nextId = id + 1;
      }
      auto* sub = new QMenu(item->text(), destination);
      const UINT subNext = MergeMenus(sub, subSource, 0, idShift, idMax, flags & MM_SUBMENUSHAVEIDS);
      if (subNext > nextId) nextId = subNext;
      inserted = sub->menuAction();
      if (id != kNoMenuItemId) PlatformSetMenuItemId(inserted, id);
      lastWasSeparator = false;
    } else {
      const UINT sourceId = PlatformMenuItemId(item);
      const UINT id = sourceId + idShift;
      if (sourceId == kNoMenuItemId || id > idMax) continue;
      if (id + 1 > nextId) nextId = id + 1;
      inserted = CopyCommand(item, destination, id);
      lastWasSeparator = false;
    }
    destination->insertAction(ActionAt(destination, position), inserted);
  }

  // Exactly one separator between what was there and what came in.
  if (position == 0) {
    if (IsSeparatorAt(destination, 0)) DeleteItemAt(destination, 0);
  } else if (IsSeparatorAt(destination, position - 1)) {
    if (IsSeparatorAt(destination, position)) DeleteItemAt(destination, position);
  } else if ((flags & MM_ADDSEPARATOR) && !IsSeparatorAt(destination, position) &&
             position < static_cast<int>(destination->actions().size())) {
    InsertSeparatorAt(destination, position);
  }
  return nextId;
}

// ---------------------------------------------------------------------------
// The view's merges

void ShellView::OnActivate(UINT state) {
  if (state == uiState_ || activating_) return;
  activating_ = true;
  OnDeactivate();
  ViewWindow* window = window_.data();
  if (state == SVUIA_ACTIVATE_FOCUS && List()) List()->setFocus(Qt::OtherFocusReason);
  if ((state == SVUIA_ACTIVATE_NOFOCUS || state == SVUIA_ACTIVATE_FOCUS) && browser_) {
    auto* menu = new QMenu;
    OLEMENUGROUPWIDTHS widths{};
    browser_->InsertMenusSB(menu, &widths);
    browser_->SetMenuSB(menu, nullptr, window);
    sharedMenu_ = menu;

    const UINT menuId = state == SVUIA_ACTIVATE_FOCUS ? IDR_MENU_VIEW_FOCUS : IDR_MENU_VIEW_NOFOCUS;
    std::unique_ptr<QMenu> editItems(LoadMenuPopup(menuId, 0));
    std::unique_ptr<QMenu> viewItems(LoadMenuPopup(menuId, 1));
    if (QMenu* edit = MenuPopupWithId(menu, FCIDM_MENU_EDIT))
      MergeMenus(edit, editItems.get(), static_cast<UINT>(-1), 0, kViewMenuIdMax,
                 MM_ADDSEPARATOR | MM_SUBMENUSHAVEIDS);
    if (QMenu* view = MenuPopupWithId(menu, FCIDM_MENU_VIEW)) {
      const int at = MenuPositionOf(view, FCIDM_MENU_VIEW_SEP_OPTIONS);
      MergeMenus(view, viewItems.get(), static_cast<UINT>(at), 0, kViewMenuIdMax,
                 MM_ADDSEPARATOR | MM_SUBMENUSHAVEIDS);
      AddSortItems(view);
    }
  }
  if (browser_) browser_->SetMenuSB(sharedMenu_.data(), nullptr, window);
  uiState_ = state;
  activating_ = false;
}

void ShellView::OnDeactivate() {
  if (uiState_ != SVUIA_DEACTIVATE && sharedMenu_) {
    if (browser_) {
      browser_->SetMenuSB(nullptr, nullptr, nullptr);
      browser_->RemoveMenusSB(sharedMenu_.data());
    }
    delete sharedMenu_.data();
  }
  uiState_ = SVUIA_DEACTIVATE;
}

// "by <header>" for every column with a header, before "Auto Arrange".
void ShellView::AddSortItems(QMenu* viewPopup) {
  ItemListModel* model = Model();
  if (!model) return;
  int position = -1;
  QMenu* arrange = MenuHolding(viewPopup, kCmdAutoArrange, &position);
  if (!arrange) return;
  const std::string format = ResString(IDS_SORT_BY);
  QAction* before = ActionAt(arrange, position);
  int listed = 0;
  for (int column = 0; column < kMaxSortColumns && column < model->columnCount(); ++column) {
    const QString header = model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString().left(kMenuTextMax);
    if (header.isEmpty()) continue;
    char text[kMenuTextMax + 1] = "";
    std::snprintf(text, sizeof text, format.c_str(), header.toUtf8().constData());
    auto* item = new QAction(EscapeMnemonics(QString::fromUtf8(text)), arrange);
    const UINT id = kCmdSortFirst + static_cast<UINT>(column);
    PlatformSetMenuItemId(item, id);
    item->setObjectName(QString::number(id));
    arrange->insertAction(before, item);
    ++listed;
  }
  if (listed < kMaxSortColumns) {
    auto* separator = new QAction(arrange);
    separator->setSeparator(true);
    arrange->insertAction(before, separator);
  }
}

void ShellView::OnInitMenuPopup(QMenu* popup) {
  if (!popup || !sharedMenu_) return;
  const UINT id = PlatformMenuItemId(popup->menuAction());
  switch (id) {
    case FCIDM_MENU_FILE: {
      if (uiState_ != SVUIA_ACTIVATE_FOCUS) return;
      for (int i = static_cast<int>(popup->actions().size()) - 1; i >= 0; --i)
        if (MenuItemIdAt(popup, i) < FCIDM_GLOBALFIRST) DeleteItemAt(popup, i);
      std::vector<LPCITEMIDLIST> selected = SelectedIdLists();
      ComPtr<IContextMenu> menu;
      if (SUCCEEDED(folder_->GetUIObjectOf(parent_, static_cast<UINT>(selected.size()),
                                           selected.empty() ? nullptr : selected.data(), IID_IContextMenu, nullptr,
                                           menu.putVoid())) &&
          menu)
        menu->QueryContextMenu(popup, 0, 0, FCIDM_SHVIEWLAST, CMF_NORMAL);
      return;
    }
    case FCIDM_MENU_VIEW: {
      const UINT current = kCmdLargeIcons + (settings_.ViewMode - FVM_ICON);
      for (UINT command = kCmdLargeIcons; command <= kCmdDetails; ++command) {
        if (QAction* item = FindMenuCommand(popup, command)) {
          item->setCheckable(true);
          item->setChecked(command == current);
        }
      }
      if (QAction* arrange = FindMenuCommand(popup, kCmdAutoArrange)) {
        arrange->setChecked(false);
        arrange->setEnabled(false);
      }
      if (QAction* lineUp = FindMenuCommand(popup, kCmdLineUpIcons)) lineUp->setEnabled(false);
      return;
    }
    case FCIDM_MENU_HELP: {
      if (FindMenuCommand(popup, kCmdAbout)) return;
      QAction* first = ActionAt(popup, 0);
      auto* separator = new QAction(popup);
      separator->setSeparator(true);
      popup->insertAction(first, separator);
      auto* about = new QAction(QString::fromUtf8(ResString(IDS_MENU_ABOUT)), popup);
      PlatformSetMenuItemId(about, kCmdAbout);
      about->setObjectName(QString::number(kCmdAbout));
      popup->insertAction(separator, about);
      return;
    }
    default: return;  // Edit: nothing to refresh
  }
}

void ShellView::AddToolbarButtons() {
  if (!browser_) return;
  TBADDBITMAP standard{HINST_COMMCTRL, IDB_STD_SMALL_COLOR};
  TBADDBITMAP views{HINST_COMMCTRL, IDB_VIEW_SMALL_COLOR};
  LRESULT standardOffset = 0, viewOffset = 0;
  browser_->SendControlMsg(FCW_TOOLBAR, TB_ADDBITMAP, 8, reinterpret_cast<LPARAM>(&standard), &standardOffset);
  browser_->SendControlMsg(FCW_TOOLBAR, TB_ADDBITMAP, 8, reinterpret_cast<LPARAM>(&views), &viewOffset);
  const int s = static_cast<int>(standardOffset);
  const int v = static_cast<int>(viewOffset);
  auto button = [](int image, UINT command) {
    TBBUTTON b{};
    b.iBitmap = image;
    b.idCommand = static_cast<int>(command);
    b.fsState = TBSTATE_ENABLED;
    b.fsStyle = TBSTYLE_BUTTON;
    return b;
  };
  auto separator = [] {
    TBBUTTON b{};
    b.fsState = TBSTATE_ENABLED;
    b.fsStyle = TBSTYLE_SEP;
    return b;
  };
  TBBUTTON buttons[10] = {
      button(s + STD_COPY, kCmdCopy),          separator(),
      button(s + STD_FILENEW, kCmdNew),        button(s + STD_DELETE, kCmdDelete),
      button(s + STD_PROPERTIES, kCmdProperties), separator(),
      button(v + VIEW_LARGEICONS, kCmdLargeIcons), button(v + VIEW_SMALLICONS, kCmdSmallIcons),
      button(v + VIEW_LIST, kCmdList),         button(v + VIEW_DETAILS, kCmdDetails),
  };
  browser_->SetToolbarItems(buttons, 10, FCT_MERGE);
  UpdateToolbarChecks();
}
