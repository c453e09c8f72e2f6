#include "library/query/parameter_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include "library/res/dialogs.h"
#include "library/res/resource_ids.h"

ParameterDialog::ParameterDialog(QWidget* owner, ParameterValues& values, const std::string& nullText)
    : QDialog(owner), values_(values) {
  setObjectName(QString::number(IDD_PARAMETERS));
  setWindowTitle(QString::fromStdString(DialogCaption(IDD_PARAMETERS)));
  setModal(true);

  auto* prompt = new QLabel(QString::fromStdString(DialogText(IDD_PARAMETERS, IDC_PARAM_PROMPT)), this);
  prompt->setObjectName(QString::number(IDC_PARAM_PROMPT));

  auto* statement = new QPlainTextEdit(this);
  statement->setObjectName(QString::number(IDC_PARAM_STATEMENT));
  statement->setReadOnly(true);
  statement->setPlainText(QString::fromStdString(values.statement));
  statement->setMaximumHeight(90);

  auto* form = new QFormLayout;
  const int count = values.count < 0 ? 0 : values.count > kMaxParameters ? kMaxParameters : values.count;
  for (int i = 0; i < kMaxParameters; ++i) {
    auto* field = new QLineEdit(this);
    field->setObjectName(QString::number(IDC_PARAM_FIRST + i));
    field->setEnabled(i < count);
    if (i < count) field->setText(QString::fromStdString(nullText));
    fields_[static_cast<size_t>(i)] = field;
    form->addRow(QString::fromStdString(DialogText(IDD_PARAMETERS, IDC_PARAM_FIRST + i)), field);
  }

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok =
      buttons->addButton(QString::fromStdString(DialogText(IDD_PARAMETERS, IDC_OK)), QDialogButtonBox::AcceptRole);
  ok->setObjectName(QString::number(IDC_OK));
  ok->setDefault(true);
  QPushButton* cancel = buttons->addButton(QString::fromStdString(DialogText(IDD_PARAMETERS, IDC_CANCEL)),
                                           QDialogButtonBox::RejectRole);
  cancel->setObjectName(QString::number(IDC_CANCEL));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(prompt);
  layout->addWidget(statement);
  layout->addLayout(form);
  layout->addWidget(buttons);
  if (count > 0) fields_[0]->setFocus();
}

void ParameterDialog::accept() {
  const int count = values_.count < 0 ? 0 : values_.count > kMaxParameters ? kMaxParameters : values_.count;
  for (int i = 0; i < count; ++i)
    values_.values[static_cast<size_t>(i)] = fields_[static_cast<size_t>(i)]->text().toStdString();
  QDialog::accept();
}

bool ShowParameterDialog(QWidget* owner, ParameterValues& values, const std::string& nullText) {
  // On the heap and guarded: when the owner window goes while the prompt is
  // open, the dialog goes with it and counts as cancelled.
  QPointer<ParameterDialog> dialog = new ParameterDialog(owner, values, nullText);
  const int result = dialog->exec();
  const bool accepted = dialog && result == QDialog::Accepted;
  delete dialog.data();
  return accepted;
}
