// The statement editor (dialog 3 / 1003): a multi-line plain-text box 1036
// in which the user types or changes the SQL text of a result window.
#pragma once

#include <QDialog>
#include <string>

class QPlainTextEdit;

class StatementEditorDialog : public QDialog {
 public:
  // `statement` is the caller's text: shown at start, replaced on OK.
  StatementEditorDialog(QWidget* owner, std::string& statement);

  void accept() override;

 private:
  std::string& statement_;
  QPlainTextEdit* editor_;
};

// Shows the editor modally and returns IDOK (1) when the text was replaced
// by a non-empty one, IDCANCEL (2) otherwise, -1 when the editor's control
// cannot be had. Must run on the GUI thread.
int ShowStatementEditor(QWidget* owner, std::string& statement);
