#include "library/query/statement_editor.h"

#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "library/res/dialogs.h"
#include "library/res/resource_ids.h"
#include "platform/loader/loader.h"
#include "platform/ui/ui.h"

StatementEditorDialog::StatementEditorDialog(QWidget* owner, std::string& statement)
    : QDialog(owner), statement_(statement) {
  setObjectName(QString::number(IDD_STATEMENT_EDITOR));
  setWindowTitle(QString::fromStdString(DialogCaption(IDD_STATEMENT_EDITOR)));
  setModal(true);

  editor_ = new QPlainTextEdit(this);
  editor_->setObjectName(QString::number(IDC_EDITOR_TEXT));
  // Return inserts a line break (not the default button); Tab leaves the box.
  editor_->setTabChangesFocus(true);
  editor_->setLineWrapMode(QPlainTextEdit::NoWrap);
  editor_->setPlainText(QString::fromStdString(statement));

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(QString::fromStdString(DialogText(IDD_STATEMENT_EDITOR, IDC_OK)),
                                       QDialogButtonBox::AcceptRole);
  ok->setObjectName(QString::number(IDC_OK));
  ok->setAutoDefault(false);
  QPushButton* cancel = buttons->addButton(
      QString::fromStdString(DialogText(IDD_STATEMENT_EDITOR, IDC_CANCEL)), QDialogButtonBox::RejectRole);
  cancel->setObjectName(QString::number(IDC_CANCEL));
  cancel->setAutoDefault(false);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(editor_);
  layout->addWidget(buttons);
  resize(520, 300);
  editor_->setFocus();
}

void StatementEditorDialog::accept() {
  const QString text = editor_->toPlainText();
  // An empty text cannot be confirmed: the dialog stays open.
  if (text.isEmpty()) return;
  statement_ = text.toStdString();
  QDialog::accept();
}

int ShowStatementEditor(QWidget* owner, std::string& statement) {
  // The editor's control comes from the text-editing module; it is loaded
  // around every display so the control is there while the dialog is open.
  HMODULE richEdit = LoadLibraryA("RICHED32.DLL");
  if (!richEdit) return -1;
  int result = IDCANCEL;
  {
    StatementEditorDialog dialog(owner, statement);
    if (dialog.exec() == QDialog::Accepted) result = IDOK;
  }
  FreeLibrary(richEdit);
  return result;
}
