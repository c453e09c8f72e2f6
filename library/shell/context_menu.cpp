#include "library/shell/context_menu.h"

#include <QAction>
#include <QMenu>
#include <cstring>
#include <strings.h>
#include <string>

#include "library/catalog/item_id.h"
#include "library/res/resource_ids.h"
#include "library/res/strings.h"
#include "library/shell/context_commands.h"
#include "library/shell/shell_folder.h"
#include "platform/ui/menu_ids.h"
#include "platform/ui/ui.h"

namespace {

constexpr int kClassNameSize = 256;  // GetClassNameA reads at most 255 characters

// Help texts by offset (GCS_HELPTEXTA); 0 where a command has none.
constexpr UINT kHelpText[kContextCommandCount] = {
    IDS_MENU_EXPLORE, IDS_MENU_OPEN,   IDS_HELP_DELETE_DSN, IDS_MENU_PROPERTIES, IDS_MENU_SELECT, IDS_MENU_STATEMENT,
    IDS_HELP_NEW_DSN, 0, 0, 0, 0};

// Inserts items by position, as InsertMenuA(MF_BYPOSITION) does: at or
// beyond the end they are appended.
class MenuInserter {
 public:
  MenuInserter(QMenu* menu, UINT position, UINT idCmdFirst) : menu_(menu), position_(position), first_(idCmdFirst) {}

  void item(UINT offset, const std::string& text) {
    auto* action = new QAction(QString::fromStdString(text), menu_);
    PlatformSetMenuItemId(action, first_ + offset);
    insert(action);
  }
  void separator() {
    auto* action = new QAction(menu_);
    action->setSeparator(true);
    insert(action);
  }
  UINT position() const { return position_; }

 private:
  void insert(QAction* action) {
    const QList<QAction*> actions = menu_->actions();
    QAction* before = position_ < static_cast<UINT>(actions.size()) ? actions[position_] : nullptr;
    menu_->insertAction(before, action);
    ++position_;
  }

  QMenu* menu_;
  UINT position_;
  UINT first_;
};

}  // namespace

bool IsExploreClassName(const char* className) {
  // The host's explore window reports "ExploreWClass": the comparison must
  // ignore case, or explore mode would never be seen.
  return className && strncasecmp(className, "explore", 7) == 0;
}

ContextMenu* ContextMenu::Create(HWND owner, ShellFolder* folder, LPCITEMIDLIST* items, UINT count) {
  auto* menu = new (std::nothrow) ContextMenu(owner, folder);
  if (!menu) return nullptr;
  if (!menu->CopyItems(items, count)) {
    menu->AddRef();
    menu->Release();
    return nullptr;
  }
  return menu;
}

ContextMenu::ContextMenu(HWND owner, ShellFolder* folder) : folder_(folder), owner_(owner) {
  char className[kClassNameSize] = {};
  exploreMode_ = owner && GetClassNameA(owner, className, kClassNameSize - 1) > 0 && IsExploreClassName(className);
  if (folder_) folder_->AddRef();
}

bool ContextMenu::CopyItems(LPCITEMIDLIST* items, UINT count) {
  if (count > 0 && !items) return false;
  IMalloc* malloc = ShellAllocator();
  const size_t bytes = (static_cast<size_t>(count) + 1) * sizeof(LPITEMIDLIST);
  items_ = static_cast<LPITEMIDLIST*>(malloc->Alloc(bytes));
  if (!items_) return false;
  std::memset(items_, 0, bytes);
  for (UINT i = 0; i < count; ++i) {
    items_[i] = CloneIdList(items[i]);
    if (!items_[i]) return false;  // the destructor frees what was copied
    itemCount_ = i + 1;
  }
  return true;
}

ContextMenu::~ContextMenu() {
  if (items_) {
    for (UINT i = 0; i < itemCount_; ++i) FreeIdList(items_[i]);
    ShellAllocator()->Free(items_);
  }
  if (folder_) folder_->Release();
}

IUnknown* ContextMenu::FindInterface(REFIID riid) {
  return LookupInterface(riid, {{&IID_IUnknown, static_cast<IContextMenu*>(this)},
                                {&IID_IContextMenu, static_cast<IContextMenu*>(this)}});
}

int ContextMenu::Level() const { return folder_ ? folder_->Level() : 0; }

HRESULT ContextMenu::QueryContextMenu(HMENU hmenu, UINT indexMenu, UINT idCmdFirst, UINT /*idCmdLast*/,
                                      UINT uFlags) {
  if (uFlags & CMF_DEFAULTONLY) return static_cast<HRESULT>(0);
  if (!hmenu) return E_INVALIDARG;
  const int level = Level();
  const bool hasItem = itemCount_ > 0;
  MenuInserter menu(hmenu, indexMenu, idCmdFirst);

  if ((level == kLevelRoot || level == kLevelDsn) && hasItem) {
    if (exploreMode_) {
      menu.item(kOffsetExplore, ResString(IDS_MENU_EXPLORE));
      menu.item(kOffsetOpen, ResString(IDS_MENU_OPEN));
    } else {
      menu.item(kOffsetOpen, ResString(IDS_MENU_OPEN));
      menu.item(kOffsetExplore, ResString(IDS_MENU_EXPLORE));
    }
  }
  if (level == kLevelRoot) {
    if (hasItem) menu.item(kOffsetDelete, ResString(IDS_MENU_DELETE));
    menu.item(kOffsetNewDsn, ResString(IDS_MENU_NEW));
    menu.separator();
    if (hasItem) menu.item(kOffsetConfigDsn, ResString(IDS_MENU_CONFIG));
    menu.item(kOffsetOdbcAdmin, ResString(IDS_MENU_ODBC_ADMIN));
  }
  if (owner_ != GetDesktopWindow()) {
    if (menu.position() != 0) menu.separator();
    menu.item(kOffsetProperties, ResString(IDS_MENU_PROPERTIES));
  }
  if (level == kLevelDsn || level == kLevelTable) {
    menu.separator();
    if (level == kLevelDsn && itemCount_ == 1 && IsTableItem(items_[0]))
      menu.item(kOffsetSelect, ResString(IDS_MENU_SELECT) + " " + GetQualifiedName(items_[0], true));
    else if (level == kLevelTable)
      menu.item(kOffsetSelect, ResString(IDS_MENU_SELECT));
  }
  if (level != kLevelRoot || hasItem) menu.item(kOffsetStatement, ResString(IDS_MENU_STATEMENT));

  if (!(uFlags & CMF_NODEFAULT) && !hmenu->actions().isEmpty()) hmenu->setDefaultAction(hmenu->actions().first());
  return static_cast<HRESULT>(kContextCommandCount);
}

HRESULT ContextMenu::GetCommandString(UINT_PTR idCmd, UINT uType, UINT* /*pReserved*/, LPSTR pszName, UINT cchMax) {
  switch (uType) {
    case GCS_HELPTEXTA:
      if (idCmd < kContextCommandCount && kHelpText[idCmd] != 0) {
        if (!pszName || cchMax == 0) return E_INVALIDARG;
        LoadResString(kHelpText[idCmd], pszName, static_cast<int>(cchMax));
      }
      return S_OK;
    case GCS_VALIDATEA:
      return S_OK;
    default:
      return E_INVALIDARG;  // no command has a verb string
  }
}

HRESULT ContextMenu::InvokeCommand(LPCMINVOKECOMMANDINFO pici) {
  if (!pici) return E_INVALIDARG;
  const auto verb = reinterpret_cast<ULONG_PTR>(pici->lpVerb);
  UINT offset = 0;
  auto* view = reinterpret_cast<IShellView*>(const_cast<char*>(pici->lpParameters));
  CommandTarget target{folder_, owner_, exploreMode_, items_, itemCount_, view};
  if ((verb >> 16) == 0) {
    offset = LOWORD(verb);
  } else {
    const char* text = pici->lpVerb;
    if (strcasecmp(text, "properties") == 0) {
      offset = kOffsetProperties;
    } else if (strcasecmp(text, "delete") == 0) {
      offset = kOffsetDelete;
    } else if (strcasecmp(text, "find") == 0) {
      offset = kOffsetFindData;  // the host's Find command
    } else if (strcasecmp(text, "ViewDetails") == 0 || strcasecmp(text, "ViewList") == 0) {
      // The view's own details and list modes, when a view asked.
      SwitchViewMode(view, strcasecmp(text, "ViewDetails") == 0);
      return S_OK;
    } else if (strcasecmp(text, "NewFolder") == 0) {
      // The only thing that can be made here is a data source, in the root.
      if (Level() != kLevelRoot) return S_OK;
      offset = kOffsetNewDsn;
    } else {
      return S_OK;
    }
  }
  if (offset >= kContextCommandCount) return E_INVALIDARG;
  RunContextCommand(offset, target);
  return S_OK;
}
