#include "library/shell/dsn_admin/dsn_dialogs.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "library/shell/dsn_admin/dsn_admin_strings.h"
#include "library/shell/module_state.h"
#include "platform/ui/ui.h"

namespace {

QString Text(DsnText id) { return QString::fromStdString(DsnAdminText(id)); }

// The attributes a new data source starts with. Every driver installed here
// takes these two, and the user can add or remove rows.
const DsnAttributes kNewAttributes = {{"Description", ""}, {"Database", ""}};

}  // namespace

DsnEditDialog::DsnEditDialog(QWidget* owner, DsnStore& store, DsnScope scope)
    : QDialog(owner), store_(store), creating_(true), scope_(scope) {
  build(true);
  fillAttributes(kNewAttributes);
}

DsnEditDialog::DsnEditDialog(QWidget* owner, DsnStore& store, DsnScope scope, const std::string& name)
    : QDialog(owner), store_(store), creating_(false), scope_(scope) {
  build(false);
  name_->setText(QString::fromStdString(name));
  driver_->addItem(QString::fromStdString(store_.Driver(scope, name)));
  fillAttributes(store_.Attributes(scope, name));
}

void DsnEditDialog::build(bool creating) {
  setWindowTitle(Text(creating ? DSN_TITLE_NEW : DSN_TITLE_CONFIGURE));
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  layout->addLayout(form);

  driver_ = new QComboBox(this);
  driver_->setObjectName(kDriver);
  if (creating) {
    for (const std::string& d : store_.InstalledDrivers()) driver_->addItem(QString::fromStdString(d));
  } else {
    driver_->setEnabled(false);
  }
  form->addRow(Text(DSN_LABEL_DRIVER), driver_);

  name_ = new QLineEdit(this);
  name_->setObjectName(kName);
  name_->setReadOnly(!creating);
  form->addRow(Text(DSN_LABEL_NAME), name_);

  auto* scopeRow = new QHBoxLayout;
  user_ = new QRadioButton(Text(DSN_SCOPE_USER), this);
  user_->setObjectName(kScopeUser);
  system_ = new QRadioButton(Text(DSN_SCOPE_SYSTEM), this);
  system_->setObjectName(kScopeSystem);
  (scope_ == DsnScope::System ? system_ : user_)->setChecked(true);
  user_->setEnabled(creating);
  system_->setEnabled(creating);
  scopeRow->addWidget(user_);
  scopeRow->addWidget(system_);
  scopeRow->addStretch();
  form->addRow(Text(DSN_LABEL_SCOPE), scopeRow);

  layout->addWidget(new QLabel(Text(DSN_LABEL_ATTRIBUTES), this));
  table_ = new QTableWidget(0, 2, this);
  table_->setObjectName(kAttributes);
  table_->setHorizontalHeaderLabels({Text(DSN_HDR_KEYWORD), Text(DSN_HDR_VALUE)});
  table_->horizontalHeader()->setStretchLastSection(true);
  table_->verticalHeader()->hide();
  layout->addWidget(table_);

  auto* rowButtons = new QHBoxLayout;
  auto* add = new QPushButton(Text(DSN_BUTTON_ADD_ROW), this);
  add->setObjectName(kAddRow);
  auto* remove = new QPushButton(Text(DSN_BUTTON_REMOVE_ROW), this);
  remove->setObjectName(kRemoveRow);
  rowButtons->addWidget(add);
  rowButtons->addWidget(remove);
  rowButtons->addStretch();
  layout->addLayout(rowButtons);
  connect(add, &QPushButton::clicked, this, [this] {
    const int row = table_->rowCount();
    table_->insertRow(row);
    table_->setItem(row, 0, new QTableWidgetItem);
    table_->setItem(row, 1, new QTableWidgetItem);
    table_->setCurrentCell(row, 0);
  });
  connect(remove, &QPushButton::clicked, this, [this] {
    if (table_->currentRow() >= 0) table_->removeRow(table_->currentRow());
  });

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  resize(460, 360);
}

void DsnEditDialog::fillAttributes(const DsnAttributes& attributes) {
  table_->setRowCount(0);
  for (const auto& [key, value] : attributes) {
    const int row = table_->rowCount();
    table_->insertRow(row);
    table_->setItem(row, 0, new QTableWidgetItem(QString::fromStdString(key)));
    table_->setItem(row, 1, new QTableWidgetItem(QString::fromStdString(value)));
  }
}

DsnAttributes DsnEditDialog::attributes() const {
  DsnAttributes result;
  for (int row = 0; row < table_->rowCount(); ++row) {
    const QTableWidgetItem* key = table_->item(row, 0);
    const QTableWidgetItem* value = table_->item(row, 1);
    const std::string k = key ? key->text().trimmed().toStdString() : std::string();
    const std::string v = value ? value->text().toStdString() : std::string();
    // A row left entirely empty is a row the user added and did not use.
    if (k.empty() && v.empty()) continue;
    result.emplace_back(k, v);
  }
  return result;
}

DsnScope DsnEditDialog::chosenScope() const {
  return system_->isChecked() ? DsnScope::System : DsnScope::User;
}

void DsnEditDialog::accept() {
  std::string error;
  const std::string name = name_->text().trimmed().toStdString();
  const DsnScope scope = creating_ ? chosenScope() : scope_;
  const bool ok = creating_ ? store_.Create(scope, name, driver_->currentText().toStdString(), attributes(), &error)
                            : store_.Update(scope, name, attributes(), &error);
  if (!ok) {
    MessageBoxA(this, error.c_str(), kProductTitle, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  savedName_ = name;
  savedScope_ = scope;
  QDialog::accept();
}

bool RunNewDataSourceDialog(HWND owner, OdbcInstaller& installer) {
  DsnStore store(installer);
  if (store.InstalledDrivers().empty()) {
    MessageBoxA(owner, DsnAdminText(DSN_ERR_NO_DRIVERS).c_str(), kProductTitle, MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  DsnEditDialog dialog(owner, store, DsnScope::User);
  return dialog.exec() == QDialog::Accepted;
}

bool RunConfigureDataSourceDialog(HWND owner, OdbcInstaller& installer, DsnScope scope, const std::string& name) {
  DsnStore store(installer);
  if (!store.Exists(scope, name)) {
    MessageBoxA(owner, DsnAdminText(DSN_ERR_NOT_FOUND, name).c_str(), kProductTitle, MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  DsnEditDialog dialog(owner, store, scope, name);
  return dialog.exec() == QDialog::Accepted;
}
