// Our ODBC administrator: the user and the system data sources and the
// installed drivers, with add, configure and remove for the data sources.
// It works through DsnStore only, like the New and Configure dialogs.
#pragma once

#include <QDialog>

#include "library/shell/dsn_admin/dsn_store.h"

class QListWidget;
class QTabWidget;
class QTreeWidget;

class OdbcAdminDialog : public QDialog {
 public:
  static constexpr const char* kTabs = "tabs";
  static constexpr const char* kUserList = "userList";
  static constexpr const char* kSystemList = "systemList";
  static constexpr const char* kDriverList = "driverList";
  static constexpr const char* kAdd = "add";
  static constexpr const char* kConfigure = "configure";
  static constexpr const char* kRemove = "remove";

  OdbcAdminDialog(QWidget* owner, DsnStore& store);

  void reload();

 private:
  // The list of the current tab and its scope; null on the drivers tab.
  QTreeWidget* currentList(DsnScope* scope) const;
  void add();
  void configure();
  void remove();
  void fillList(QTreeWidget* list, DsnScope scope);

  DsnStore& store_;
  QTabWidget* tabs_ = nullptr;
  QTreeWidget* user_ = nullptr;
  QTreeWidget* system_ = nullptr;
  QListWidget* drivers_ = nullptr;
};

// Shows the administrator modally.
void RunOdbcAdminDialog(HWND owner, OdbcInstaller& installer);
