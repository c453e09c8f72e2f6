#include "library/shell/dsn_admin/odbc_admin_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "library/res/resource_ids.h"
#include "library/res/strings.h"
#include "library/shell/dsn_admin/dsn_admin_strings.h"
#include "library/shell/dsn_admin/dsn_dialogs.h"
#include "library/shell/module_state.h"
#include "platform/ui/ui.h"

namespace {

QString Text(DsnText id) { return QString::fromStdString(DsnAdminText(id)); }

QTreeWidget* MakeDsnList(QWidget* parent, const char* objectName) {
  auto* list = new QTreeWidget(parent);
  list->setObjectName(objectName);
  list->setColumnCount(2);
  list->setHeaderLabels({Text(DSN_HDR_DSN), Text(DSN_HDR_DRIVER)});
  list->setRootIsDecorated(false);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  return list;
}

}  // namespace

OdbcAdminDialog::OdbcAdminDialog(QWidget* owner, DsnStore& store) : QDialog(owner), store_(store) {
  setWindowTitle(Text(DSN_TITLE_ADMIN));
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  tabs_ = new QTabWidget(this);
  tabs_->setObjectName(kTabs);
  user_ = MakeDsnList(tabs_, kUserList);
  system_ = MakeDsnList(tabs_, kSystemList);
  drivers_ = new QListWidget(tabs_);
  drivers_->setObjectName(kDriverList);
  tabs_->addTab(user_, Text(DSN_TAB_USER));
  tabs_->addTab(system_, Text(DSN_TAB_SYSTEM));
  tabs_->addTab(drivers_, Text(DSN_TAB_DRIVERS));
  layout->addWidget(tabs_);

  auto* row = new QHBoxLayout;
  auto* addButton = new QPushButton(Text(DSN_BUTTON_ADD), this);
  addButton->setObjectName(kAdd);
  auto* configureButton = new QPushButton(Text(DSN_BUTTON_CONFIGURE), this);
  configureButton->setObjectName(kConfigure);
  auto* removeButton = new QPushButton(Text(DSN_BUTTON_REMOVE), this);
  removeButton->setObjectName(kRemove);
  row->addWidget(addButton);
  row->addWidget(configureButton);
  row->addWidget(removeButton);
  row->addStretch();
  auto* close = new QPushButton(Text(DSN_BUTTON_CLOSE), this);
  row->addWidget(close);
  layout->addLayout(row);

  connect(addButton, &QPushButton::clicked, this, [this] { add(); });
  connect(configureButton, &QPushButton::clicked, this, [this] { configure(); });
  connect(removeButton, &QPushButton::clicked, this, [this] { remove(); });
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  connect(user_, &QTreeWidget::itemActivated, this, [this] { configure(); });
  connect(system_, &QTreeWidget::itemActivated, this, [this] { configure(); });
  // The data source buttons have nothing to act on while the drivers show.
  connect(tabs_, &QTabWidget::currentChanged, this, [this, addButton, configureButton, removeButton](int index) {
    const bool dsnTab = index != tabs_->indexOf(drivers_);
    addButton->setEnabled(dsnTab);
    configureButton->setEnabled(dsnTab);
    removeButton->setEnabled(dsnTab);
  });
  reload();
  resize(520, 380);
}

void OdbcAdminDialog::fillList(QTreeWidget* list, DsnScope scope) {
  list->clear();
  for (const std::string& name : store_.Names(scope)) {
    auto* item = new QTreeWidgetItem(list);
    item->setText(0, QString::fromStdString(name));
    item->setText(1, QString::fromStdString(store_.Driver(scope, name)));
  }
  if (list->topLevelItemCount() > 0) list->setCurrentItem(list->topLevelItem(0));
}

void OdbcAdminDialog::reload() {
  fillList(user_, DsnScope::User);
  fillList(system_, DsnScope::System);
  drivers_->clear();
  for (const std::string& driver : store_.InstalledDrivers()) drivers_->addItem(QString::fromStdString(driver));
}

QTreeWidget* OdbcAdminDialog::currentList(DsnScope* scope) const {
  if (tabs_->currentWidget() == system_) {
    *scope = DsnScope::System;
    return system_;
  }
  if (tabs_->currentWidget() == user_) {
    *scope = DsnScope::User;
    return user_;
  }
  return nullptr;
}

void OdbcAdminDialog::add() {
  DsnScope scope = DsnScope::User;
  if (!currentList(&scope)) return;
  DsnEditDialog dialog(this, store_, scope);
  if (dialog.exec() == QDialog::Accepted) reload();
}

void OdbcAdminDialog::configure() {
  DsnScope scope = DsnScope::User;
  QTreeWidget* list = currentList(&scope);
  if (!list || !list->currentItem()) return;
  DsnEditDialog dialog(this, store_, scope, list->currentItem()->text(0).toStdString());
  if (dialog.exec() == QDialog::Accepted) reload();
}

void OdbcAdminDialog::remove() {
  DsnScope scope = DsnScope::User;
  QTreeWidget* list = currentList(&scope);
  if (!list || !list->currentItem()) return;
  const std::string name = list->currentItem()->text(0).toStdString();
  std::string question = ResString(IDS_CONFIRM_DELETE_DSN);
  const size_t at = question.find("%s");
  if (at != std::string::npos) question.replace(at, 2, name);
  if (MessageBoxA(this, question.c_str(), kProductTitle, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  std::string error;
  if (!store_.Remove(scope, name, &error)) MessageBoxA(this, error.c_str(), kProductTitle, MB_OK | MB_ICONEXCLAMATION);
  reload();
}

void RunOdbcAdminDialog(HWND owner, OdbcInstaller& installer) {
  DsnStore store(installer);
  OdbcAdminDialog dialog(owner, store);
  dialog.exec();
}
