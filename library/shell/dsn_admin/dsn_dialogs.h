// Our own dialogs for what unixODBC's installer cannot show on this
// platform: "New" (pick an installed driver, name the data source, choose
// user or system scope, enter its attributes) and "Configure" (edit the
// attributes of an existing data source in its own scope). Both write only
// through DsnStore; a refused name or a failed write is reported in a
// message box and the dialog stays open, with nothing half-written.
#pragma once

#include <QDialog>
#include <string>

#include "library/shell/dsn_admin/dsn_store.h"

class QComboBox;
class QLineEdit;
class QRadioButton;
class QTableWidget;

class DsnEditDialog : public QDialog {
 public:
  // Object names of the controls, for code and tests that find them.
  static constexpr const char* kDriver = "driver";
  static constexpr const char* kName = "dsnName";
  static constexpr const char* kScopeUser = "scopeUser";
  static constexpr const char* kScopeSystem = "scopeSystem";
  static constexpr const char* kAttributes = "attributes";
  static constexpr const char* kAddRow = "addRow";
  static constexpr const char* kRemoveRow = "removeRow";

  // A new data source; `scope` is the scope chosen at the start.
  DsnEditDialog(QWidget* owner, DsnStore& store, DsnScope scope);
  // An existing data source of `scope`.
  DsnEditDialog(QWidget* owner, DsnStore& store, DsnScope scope, const std::string& name);

  void accept() override;

  // The data source written by the last successful OK.
  const std::string& savedName() const { return savedName_; }
  DsnScope savedScope() const { return savedScope_; }

 private:
  void build(bool creating);
  void fillAttributes(const DsnAttributes& attributes);
  DsnAttributes attributes() const;
  DsnScope chosenScope() const;

  DsnStore& store_;
  bool creating_;
  DsnScope scope_;
  std::string savedName_;
  DsnScope savedScope_ = DsnScope::User;
  QComboBox* driver_ = nullptr;
  QLineEdit* name_ = nullptr;
  QRadioButton* user_ = nullptr;
  QRadioButton* system_ = nullptr;
  QTableWidget* table_ = nullptr;
};

// Show the dialogs modally; true when a data source was written.
bool RunNewDataSourceDialog(HWND owner, OdbcInstaller& installer);
bool RunConfigureDataSourceDialog(HWND owner, OdbcInstaller& installer, DsnScope scope, const std::string& name);
