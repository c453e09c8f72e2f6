#include "library/search/find_data_dialog.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QValidator>
#include <QVBoxLayout>
#include <QWidget>

#include "library/res/dialogs.h"
#include "library/res/resource_ids.h"
#include "library/search/find_data.h"
#include "library/search/find_result_dialog.h"

namespace {

// Turns whatever is typed or pasted into upper case (the edits' style).
class UpperCaseValidator : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int&) const override {
    input = input.toUpper();
    return Acceptable;
  }
};

QString Text(int controlId) { return QString::fromUtf8(DialogText(IDD_FIND_DATA, controlId)); }

QLineEdit* MakeEdit(QWidget* parent, int id, bool upperCase) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::number(id));
  if (upperCase) edit->setValidator(new UpperCaseValidator(edit));
  return edit;
}

QLabel* MakeLabel(QWidget* parent, int id, QWidget* buddy) {
  auto* label = new QLabel(Text(id), parent);
  label->setBuddy(buddy);
  return label;
}

QRadioButton* MakeRadio(QWidget* parent, int id) {
  auto* radio = new QRadioButton(Text(id), parent);
  radio->setObjectName(QString::number(id));
  return radio;
}

}  // namespace

FindDataDialog::FindDataDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QString::number(IDD_FIND_DATA));
  setWindowTitle(QString::fromUtf8(DialogCaption(IDD_FIND_DATA)));

  auto* warning = new QLabel(Text(IDC_FIND_WARNING), this);
  warning->setObjectName(QString::number(IDC_FIND_WARNING));
  warning->setWordWrap(true);

  dataSources_ = MakeEdit(this, IDC_FIND_DSN, true);
  tables_ = MakeEdit(this, IDC_FIND_TABLES, true);
  value_ = MakeEdit(this, IDC_FIND_VALUE, false);

  auto* types = new QGroupBox(Text(IDC_FIND_TYPE_GROUP), this);
  types->setObjectName(QString::number(IDC_FIND_TYPE_GROUP));
  numeric_ = MakeRadio(types, IDC_FIND_TYPE_NUMERIC);
  string_ = MakeRadio(types, IDC_FIND_TYPE_STRING);
  date_ = MakeRadio(types, IDC_FIND_TYPE_DATE);
  string_->setChecked(true);
  auto* typeLayout = new QVBoxLayout(types);
  typeLayout->addWidget(numeric_);
  typeLayout->addWidget(string_);
  typeLayout->addWidget(date_);

  auto* ok = new QPushButton(Text(IDC_OK), this);
  ok->setObjectName(QString::number(IDC_OK));
  ok->setDefault(true);
  auto* cancel = new QPushButton(Text(IDC_CANCEL), this);
  cancel->setObjectName(QString::number(IDC_CANCEL));
  connect(ok, &QPushButton::clicked, this, &FindDataDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &FindDataDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(warning);
  layout->addWidget(MakeLabel(this, IDC_FIND_DSN, dataSources_));
  layout->addWidget(dataSources_);
  layout->addWidget(MakeLabel(this, IDC_FIND_TABLES, tables_));
  layout->addWidget(tables_);
  layout->addWidget(types);
  layout->addWidget(MakeLabel(this, IDC_FIND_VALUE, value_));
  layout->addWidget(value_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  layout->addLayout(buttons);
  setMinimumWidth(420);
}

SearchRequest FindDataDialog::request() const {
  SearchRequest request;
  request.dataSourcePatterns = dataSources_->text().toStdString();
  request.tablePatterns = tables_->text().toStdString();
  request.dataType = string_->isChecked() ? SearchDataType::String
                     : date_->isChecked() ? SearchDataType::Date
                                          : SearchDataType::Numeric;
  request.value = value_->text().toStdString();
  return request;
}

std::vector<FindResultDialog*> FindDataDialog::resultDialogs() const { return results_; }

void FindDataDialog::accept() {
  // Owned by this dialog: result dialogs go when it goes.
  auto* result = new FindResultDialog(this);
  results_.push_back(result);
  result->start(request());
}

void ShowFindDataDialog(HWND owner) {
  // No owner window: the dialog stands on its own and only appears over
  // the window it was asked from.
  FindDataDialog dialog;
  if (owner) dialog.move(owner->window()->frameGeometry().center() - dialog.rect().center());
  dialog.exec();
}
