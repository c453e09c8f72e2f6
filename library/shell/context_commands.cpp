#include "library/shell/context_commands.h"

#include <cstring>
#include <vector>

#include "library/catalog/item_id.h"
#include "library/propsheet/properties.h"
#include "library/query/result_window.h"
#include "library/res/resource_ids.h"
#include "library/res/strings.h"
#include "library/search/find_data.h"
#include "library/shell/context_menu.h"
#include "library/shell/dsn_admin/dsn_dialogs.h"
#include "library/shell/dsn_admin/odbc_admin_dialog.h"
#include "library/shell/dsn_admin/odbc_installer.h"
#include "library/shell/module_state.h"
#include "library/shell/shell_folder.h"
#include "library/shell/shell_view.h"
#include "platform/ui/ui.h"
#include "platform/ui/window_messages.h"

namespace {

// Notify without waiting for the listeners (the shell's FLUSHNOWAIT).
constexpr UINT kShcnfFlushNoWait = 0x2000;
constexpr UINT kViewDetailsCommand = 105;
constexpr UINT kViewListCommand = 104;

void NotifyFolderChanged(ShellFolder* folder) {
  if (folder) SHChangeNotify(SHCNE_UPDATEDIR, SHCNF_IDLIST | kShcnfFlushNoWait, folder->AbsoluteIdList(), nullptr);
}

void ShowInstallerError(HWND owner, const InstallerError& error) {
  if (!error.text.empty()) MessageBoxA(owner, error.text.c_str(), kProductTitle, MB_OK);
}

// unixODBC answers the interactive installer calls with a general error
// when it has no user interface of its own (no UI plugin, no driver setup
// library that can show one). Our own dialogs take over then; any other
// failure is the installer's to report.
bool InstallerHasNoInterface(OdbcInstaller& installer, const InstallerError& error) {
  if (!installer.loaded()) return false;
  constexpr DWORD kComponentNotFound = 6;
  constexpr DWORD kLoadLibFailed = 13;
  return error.code == kOdbcErrorGeneral || error.code == kComponentNotFound || error.code == kLoadLibFailed;
}

DsnScope ScopeOf(LPCITEMIDLIST dsnItem) {
  const char* scope = GetItemText(2, dsnItem);
  return scope && std::strcmp(scope, "System") == 0 ? DsnScope::System : DsnScope::User;
}

void Browse(UINT offset, const CommandTarget& t) {
  if (!t.view || t.count == 0) return;
  // The view passes itself by a private convention of this library, so the
  // pointer is always our own view.
  IShellBrowser* browser = static_cast<ShellView*>(t.view)->Browser();
  if (browser) browser->BrowseObject(t.items[0], BrowseFlags(offset, t.exploreMode));
}

void DeleteDataSources(const CommandTarget& t) {
  if (!t.folder || t.folder->Level() != kLevelRoot) return;
  OdbcInstaller installer;
  ConfigModeScope both(installer, kOdbcBothDsn);
  for (UINT i = 0; i < t.count && t.items[i]; ++i) {
    const char* name = GetItemText(0, t.items[i]);
    if (!name) continue;
    std::string question = ResString(IDS_CONFIRM_DELETE_DSN);
    const size_t at = question.find("%s");
    if (at != std::string::npos) question.replace(at, 2, name);
    const int answer = MessageBoxA(t.owner, question.c_str(), kProductTitle, MB_YESNOCANCEL | MB_ICONQUESTION);
    if (answer == IDCANCEL) break;
    if (answer != IDYES) continue;
    BOOL removed;
    {
      // In the mode of both scopes unixODBC removes from the user file only
      // and still answers TRUE for a system data source: each one is removed
      // in its own scope.
      ConfigModeScope own(installer, ConfigModeOf(ScopeOf(t.items[i])));
      removed = installer.RemoveDsnFromIni(name);
    }
    if (removed)
      NotifyFolderChanged(t.folder);
    else
      ShowInstallerError(t.owner, installer.FirstError());
  }
}

void Select(const CommandTarget& t) {
  if (!t.folder) return;
  const char* dsn = t.folder->GetFolderDsn();
  if (!dsn) return;
  if (t.folder->Level() == kLevelDsn) {
    for (UINT i = 0; i < t.count; ++i) {
      if (!IsTableItem(t.items[i])) continue;  // a procedure has nothing to select from
      const std::string statement = TableSelectStatement(t.items[i]);
      if (!statement.empty()) OpenResultWindow(statement.c_str(), dsn);
    }
  } else if (t.folder->Level() == kLevelTable) {
    const std::string statement = ColumnSelectStatement(t.items, t.count, t.folder->GetFolderTableItem());
    if (!statement.empty()) OpenResultWindow(statement.c_str(), dsn);
  }
}

void Statement(const CommandTarget& t) {
  const char* dsn = t.count > 0 ? GetDsnName(t.items[0]) : nullptr;
  if (!dsn && t.folder) dsn = t.folder->GetFolderDsn();
  StatementEntry(dsn ? dsn : "");
}

void NewDataSource(const CommandTarget& t) {
  if (!t.folder || t.folder->Level() != kLevelRoot) return;
  OdbcInstaller installer;
  bool created = installer.CreateDataSource(t.owner, nullptr) != FALSE;
  if (!created) {
    const InstallerError error = installer.FirstError();
    if (InstallerHasNoInterface(installer, error))
      created = RunNewDataSourceDialog(t.owner, installer);
    else
      ShowInstallerError(t.owner, error);
  }
  if (created) NotifyFolderChanged(t.folder);
}

void ConfigureDataSource(const CommandTarget& t) {
  if (!t.folder || t.folder->Level() != kLevelRoot || t.count == 0) return;
  const char* name = GetItemText(0, t.items[0]);
  if (!name) return;
  const char* driver = GetItemText(1, t.items[0]);
  const DsnScope scope = ScopeOf(t.items[0]);
  const WORD request = scope == DsnScope::System ? kOdbcConfigSysDsn : kOdbcConfigDsn;
  // "DSN=" name, then the two zero bytes that end an attribute list.
  std::string attributes = std::string("DSN=") + name;
  attributes.push_back('\0');
  attributes.push_back('\0');
  OdbcInstaller installer;
  bool configured = installer.ConfigDataSource(t.owner, request, driver ? driver : "", attributes.data()) != FALSE;
  if (!configured) {
    const InstallerError error = installer.FirstError();
    if (error.code == kOdbcErrorUserCanceled) return;
    if (InstallerHasNoInterface(installer, error))
      configured = RunConfigureDataSourceDialog(t.owner, installer, scope, name);
    else
      ShowInstallerError(t.owner, error);
  }
  if (configured) NotifyFolderChanged(t.folder);
}

void OdbcAdministrator(const CommandTarget& t) {
  OdbcInstaller installer;
  if (installer.ManageDataSources(t.owner)) return;
  const InstallerError error = installer.FirstError();
  if (!InstallerHasNoInterface(installer, error)) {
    ShowInstallerError(t.owner, error);
    return;
  }
  RunOdbcAdminDialog(t.owner, installer);
  // Our administrator may have changed any data source: the root refreshes.
  if (t.folder && t.folder->Level() == kLevelRoot) NotifyFolderChanged(t.folder);
}

}  // namespace

UINT BrowseFlags(UINT offset, bool exploreMode) {
  if (exploreMode) return offset == kOffsetExplore ? SBSP_RELATIVE : SBSP_RELATIVE | SBSP_NEWBROWSER | SBSP_OPENMODE;
  return offset == kOffsetExplore ? SBSP_RELATIVE | SBSP_NEWBROWSER | SBSP_EXPLOREMODE : SBSP_RELATIVE;
}

std::string TableSelectStatement(LPCITEMIDLIST table) {
  const std::string name = GetQualifiedName(table, true);
  return name.empty() ? std::string() : "SELECT * FROM " + name;
}

std::string ColumnSelectStatement(const LPITEMIDLIST* columns, UINT count, LPCITEMIDLIST table) {
  const std::string name = GetQualifiedName(table, true);
  if (name.empty()) return {};
  std::string list;
  for (UINT i = 0; i < count; ++i) {
    const char* column = GetItemText(0, columns[i]);
    if (!column) continue;
    if (!list.empty()) list += ',';
    list += column;
  }
  return "SELECT " + (list.empty() ? std::string("*") : list) + " FROM " + name;
}

void SwitchViewMode(IShellView* view, bool details) {
  HWND window = nullptr;
  if (!view || FAILED(view->GetWindow(&window)) || !window) return;
  SendMessageA(window, WM_COMMAND, details ? kViewDetailsCommand : kViewListCommand, 0);
}

void RunContextCommand(UINT offset, const CommandTarget& t) {
  switch (offset) {
    case kOffsetExplore:
    case kOffsetOpen:
      Browse(offset, t);
      break;
    case kOffsetDelete:
      DeleteDataSources(t);
      break;
    case kOffsetProperties: {
      std::vector<LPCITEMIDLIST> items(t.items, t.items + t.count);
      ShowPropertiesFor(t.folder, t.owner, t.count, items.empty() ? nullptr : items.data());
      break;
    }
    case kOffsetSelect:
      Select(t);
      break;
    case kOffsetStatement:
      Statement(t);
      break;
    case kOffsetNewDsn:
      NewDataSource(t);
      break;
    case kOffsetConfigDsn:
      ConfigureDataSource(t);
      break;
    case kOffsetOdbcAdmin:
      OdbcAdministrator(t);
      break;
    case kOffsetFindData:
      ShowFindDataDialog(t.owner);
      break;
    default:
      break;  // offset 9 runs nothing
  }
}
