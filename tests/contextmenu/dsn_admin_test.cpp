// New, configure, delete and the administrator against the real unixODBC
// ini files of the test's private world. unixODBC has no user interface of
// its own here, so the commands open our dialogs; what they write is checked
// with unixODBC's own odbcinst tool and through the root folder.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTreeWidget>

#include "library/shell/dsn_admin/dsn_dialogs.h"
#include "library/shell/dsn_admin/dsn_store.h"
#include "library/shell/dsn_admin/odbc_admin_dialog.h"
#include "tests/contextmenu/menu_world.h"
#include "tests/support/gui_driver.h"

namespace {

// The row of `key` in the attribute table, or -1.
int AttributeRow(QTableWidget* table, const QString& key) {
  for (int row = 0; row < table->rowCount(); ++row)
    if (table->item(row, 0) && table->item(row, 0)->text() == key) return row;
  return -1;
}

void SetAttribute(QDialog* dialog, const QString& key, const QString& value) {
  auto* table = dialog->findChild<QTableWidget*>(DsnEditDialog::kAttributes);
  ASSERT_NE(nullptr, table);
  int row = AttributeRow(table, key);
  if (row < 0) {
    dialog->findChild<QPushButton*>(DsnEditDialog::kAddRow)->click();
    row = table->rowCount() - 1;
    table->item(row, 0)->setText(key);
  }
  table->item(row, 1)->setText(value);
}

QString Attribute(QDialog* dialog, const QString& key) {
  auto* table = dialog->findChild<QTableWidget*>(DsnEditDialog::kAttributes);
  const int row = table ? AttributeRow(table, key) : -1;
  return row < 0 ? QStringLiteral("<missing>") : table->item(row, 1)->text();
}

std::vector<std::string> ListTexts(QTreeWidget* list) {
  std::vector<std::string> texts;
  for (int i = 0; list && i < list->topLevelItemCount(); ++i)
    texts.push_back(list->topLevelItem(i)->text(0).toStdString());
  return texts;
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class DsnAdminTest : public MenuTestBase {
 protected:
  void SetUp() override {
    MenuTestBase::SetUp();
    owner_ = Owner("CabinetWClass");
    world_->addSqliteDsn("Demo", "CREATE TABLE t(a);");
  }

  std::vector<std::string> RootNames() {
    std::vector<std::string> names;
    ComPtr<IEnumIDList> items;
    if (FAILED(root_->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, items.put())) || !items)
      return names;
    LPITEMIDLIST item = nullptr;
    ULONG fetched = 0;
    while (items->Next(1, &item, &fetched) == S_OK && item) {
      const char* text = GetItemText(0, item);
      names.push_back(std::string(text ? text : "") + "/" + (GetItemText(2, item) ? GetItemText(2, item) : ""));
      FreeIdList(item);
    }
    return names;
  }

  QWidget* owner_ = nullptr;
};

TEST_F(DsnAdminTest, NewDataSourceAppearsInTheRootAndForUnixOdbc) {
  const std::string database = world_->buildSqliteDatabase("fresh.db", "CREATE TABLE FRESH_T(a);");
  ChangeRecorder changes;
  std::string title;
  ModalDialogWatcher watcher([&](QDialog* dialog) {
    title = dialog->windowTitle().toStdString();
    auto* driver = dialog->findChild<QComboBox*>(DsnEditDialog::kDriver);
    ASSERT_NE(nullptr, driver);
    EXPECT_GE(driver->findText("SQLite3"), 0);
    driver->setCurrentText("SQLite3");
    dialog->findChild<QLineEdit*>(DsnEditDialog::kName)->setText("Fresh");
    SetAttribute(dialog, "Database", QString::fromStdString(database));
    SetAttribute(dialog, "Description", "made by the test");
    dialog->accept();
  });
  ComPtr<IContextMenu> menu = Menu(root_, owner_, {});
  EXPECT_EQ(S_OK, Invoke(menu.get(), 6));
  EXPECT_EQ(1, watcher.dialogsSeen());
  EXPECT_EQ("New data source", title);
  ASSERT_EQ(1u, changes.events.size());
  EXPECT_EQ(SHCNE_UPDATEDIR, changes.events[0]);

  const std::vector<std::string> names = RootNames();
  EXPECT_NE(names.end(), std::find(names.begin(), names.end(), "Fresh/User")) << testing::PrintToString(names);
  EXPECT_TRUE(Contains(CommandOutput("odbcinst -q -s"), "[Fresh]"));
  const std::string section = CommandOutput("odbcinst -q -s -n Fresh");
  EXPECT_TRUE(Contains(section, "Driver=SQLite3")) << section;
  EXPECT_TRUE(Contains(section, "Database=" + database)) << section;
  EXPECT_FALSE(Contains(FileText(world_->systemOdbcIni()), "[Fresh]"));
}

TEST_F(DsnAdminTest, NewSystemDataSourceGoesToTheSystemFile) {
  ModalDialogWatcher watcher([&](QDialog* dialog) {
    dialog->findChild<QComboBox*>(DsnEditDialog::kDriver)->setCurrentText("SQLite3");
    dialog->findChild<QLineEdit*>(DsnEditDialog::kName)->setText("Shared");
    dialog->findChild<QRadioButton*>(DsnEditDialog::kScopeSystem)->setChecked(true);
    SetAttribute(dialog, "Database", "/tmp/shared.db");
    dialog->accept();
  });
  EXPECT_EQ(S_OK, InvokeVerb(Menu(root_, owner_, {}).get(), "NewFolder"));
  EXPECT_TRUE(Contains(FileText(world_->systemOdbcIni()), "[Shared]"));
  EXPECT_FALSE(Contains(FileText(world_->userOdbcIni()), "[Shared]"));
  const std::vector<std::string> names = RootNames();
  EXPECT_NE(names.end(), std::find(names.begin(), names.end(), "Shared/System")) << testing::PrintToString(names);
}

TEST_F(DsnAdminTest, RefusedNamesAreReportedAndNothingIsWritten) {
  const std::string userBefore = FileText(world_->userOdbcIni());
  const std::string systemBefore = FileText(world_->systemOdbcIni());
  MessageBoxRecorder boxes(IDOK);
  std::vector<bool> stayedOpen;
  ModalDialogWatcher watcher([&](QDialog* dialog) {
    dialog->findChild<QComboBox*>(DsnEditDialog::kDriver)->setCurrentText("SQLite3");
    auto* name = dialog->findChild<QLineEdit*>(DsnEditDialog::kName);
    for (const char* refused : {"Bad]Name", "Demo", ""}) {
      name->setText(refused);
      dialog->accept();
      stayedOpen.push_back(dialog->isVisible() && dialog->result() != QDialog::Accepted);
    }
    // A malformed attribute is refused before anything is written.
    name->setText("Good");
    SetAttribute(dialog, "Key=Value", "x");
    dialog->accept();
    stayedOpen.push_back(dialog->isVisible());
    dialog->reject();
  });
  ChangeRecorder changes;
  EXPECT_EQ(S_OK, Invoke(Menu(root_, owner_, {}).get(), 6));
  EXPECT_EQ((std::vector<bool>{true, true, true, true}), stayedOpen);
  const auto calls = boxes.calls();
  ASSERT_EQ(4u, calls.size());
  EXPECT_EQ("Datrova 2.2", calls[0].call.caption);
  EXPECT_FALSE(calls[0].call.text.empty());  // the installer's reason for the bracket
  EXPECT_EQ("A data source named Demo exists already.", calls[1].call.text);
  EXPECT_EQ("Please enter a name for the data source.", calls[2].call.text);
  EXPECT_EQ("The attribute \"Key=Value\" cannot be stored as written.", calls[3].call.text);
  EXPECT_EQ(userBefore, FileText(world_->userOdbcIni()));
  EXPECT_EQ(systemBefore, FileText(world_->systemOdbcIni()));
  EXPECT_TRUE(changes.events.empty());
}

TEST_F(DsnAdminTest, ConfigureChangesTheAttributes) {
  const std::string old = world_->addSqliteDsn("Shop", "CREATE TABLE t(a);");
  OwnedList shop(CreateDsnItem("Shop", "SQLite3", true));
  QString shown;
  ChangeRecorder changes;
  {
  ModalDialogWatcher watcher([&](QDialog* dialog) {
    shown = Attribute(dialog, "Database");
    auto* name = dialog->findChild<QLineEdit*>(DsnEditDialog::kName);
    EXPECT_EQ("Shop", name->text());
    EXPECT_TRUE(name->isReadOnly());
    SetAttribute(dialog, "Database", "/tmp/moved.db");
    SetAttribute(dialog, "StepAPI", "1");
    dialog->accept();
  });
  EXPECT_EQ(S_OK, Invoke(Menu(root_, owner_, {shop.get()}).get(), 7));
  }
  EXPECT_EQ(QString::fromStdString(old), shown);
  const std::string section = CommandOutput("odbcinst -q -s -n Shop");
  EXPECT_TRUE(Contains(section, "Database=/tmp/moved.db")) << section;
  EXPECT_TRUE(Contains(section, "StepAPI=1")) << section;
  EXPECT_TRUE(Contains(section, "Driver=SQLite3")) << section;
  EXPECT_EQ(1u, changes.events.size());

  // Cancel writes nothing and tells nobody.
  ModalDialogWatcher cancel([&](QDialog* dialog) {
    SetAttribute(dialog, "Database", "/tmp/never.db");
    dialog->reject();
  });
  EXPECT_EQ(S_OK, Invoke(Menu(root_, owner_, {shop.get()}).get(), 7));
  EXPECT_FALSE(Contains(CommandOutput("odbcinst -q -s -n Shop"), "never"));
  EXPECT_EQ(1u, changes.events.size());
}

TEST_F(DsnAdminTest, SameNameInBothScopesIsConfiguredAndDeletedInItsOwnScope) {
  world_->addDsn("Twin", "SQLite3", {{"Database", "/tmp/user-twin.db"}}, false);
  world_->addDsn("Twin", "SQLite3", {{"Database", "/tmp/system-twin.db"}}, true);
  OwnedList userTwin(CreateDsnItem("Twin", "SQLite3", true)), systemTwin(CreateDsnItem("Twin", "SQLite3", false));
  std::vector<QString> shown;
  ModalDialogWatcher watcher([&](QDialog* dialog) {
    shown.push_back(Attribute(dialog, "Database"));
    SetAttribute(dialog, "Database", shown.size() == 1 ? "/tmp/system-new.db" : "/tmp/user-new.db");
    dialog->accept();
  });
  EXPECT_EQ(S_OK, Invoke(Menu(root_, owner_, {systemTwin.get()}).get(), 7));
  EXPECT_EQ(S_OK, Invoke(Menu(root_, owner_, {userTwin.get()}).get(), 7));
  EXPECT_EQ((std::vector<QString>{"/tmp/system-twin.db", "/tmp/user-twin.db"}), shown);
  EXPECT_TRUE(Contains(FileText(world_->systemOdbcIni()), "/tmp/system-new.db"));
  EXPECT_TRUE(Contains(FileText(world_->userOdbcIni()), "/tmp/user-new.db"));
  EXPECT_FALSE(Contains(FileText(world_->userOdbcIni()), "system-new"));

  // Deleting the system one removes it from the system file only.
  ScriptedBoxes boxes({IDYES});
  EXPECT_EQ(S_OK, InvokeVerb(Menu(root_, owner_, {systemTwin.get()}).get(), "delete"));
  EXPECT_FALSE(Contains(FileText(world_->systemOdbcIni()), "[Twin]"));
  EXPECT_TRUE(Contains(FileText(world_->userOdbcIni()), "[Twin]"));
  const std::vector<std::string> names = RootNames();
  EXPECT_NE(names.end(), std::find(names.begin(), names.end(), "Twin/User"));
  EXPECT_EQ(names.end(), std::find(names.begin(), names.end(), "Twin/System"));
}

TEST_F(DsnAdminTest, AdministratorListsAndRemoves) {
  world_->addDsn("Stock", "SQLite3", {{"Database", "/tmp/stock.db"}}, true);
  std::vector<std::string> users, systems;
  int drivers = 0;
  MessageBoxRecorder boxes(IDYES);
  ModalDialogWatcher watcher([&](QDialog* dialog) {
    auto* admin = dynamic_cast<OdbcAdminDialog*>(dialog);
    if (!admin) {
      dialog->reject();
      return;
    }
    users = ListTexts(dialog->findChild<QTreeWidget*>(OdbcAdminDialog::kUserList));
    systems = ListTexts(dialog->findChild<QTreeWidget*>(OdbcAdminDialog::kSystemList));
    auto* driverList = dialog->findChild<QListWidget*>(OdbcAdminDialog::kDriverList);
    drivers = driverList ? static_cast<int>(driverList->findItems("SQLite3", Qt::MatchExactly).size()) : -1;
    // Remove the system data source through the administrator.
    auto* tabs = dialog->findChild<QTabWidget*>(OdbcAdminDialog::kTabs);
    tabs->setCurrentIndex(1);
    dialog->findChild<QPushButton*>(OdbcAdminDialog::kRemove)->click();
    systems.push_back("after:" + std::to_string(ListTexts(dialog->findChild<QTreeWidget*>(OdbcAdminDialog::kSystemList)).size()));
    dialog->accept();
  });
  EXPECT_EQ(S_OK, Invoke(Menu(root_, owner_, {}).get(), 8));
  EXPECT_EQ(std::vector<std::string>{"Demo"}, users);
  EXPECT_EQ((std::vector<std::string>{"Stock", "after:0"}), systems);
  EXPECT_EQ(1, drivers);
  ASSERT_EQ(1u, boxes.calls().size());
  EXPECT_EQ("Do you really want to delete the Datasource Stock", boxes.calls()[0].call.text);
  EXPECT_FALSE(Contains(FileText(world_->systemOdbcIni()), "[Stock]"));
}

}  // namespace
