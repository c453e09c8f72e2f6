// The "Find Data" dialog (15, modal, no owner): data source patterns (edit
// 1078), table patterns (edit 1079), the data type (radio buttons 1074-1076),
// the search value (edit 1077), OK and Cancel. Each OK starts a search in a
// new "Find Result" dialog owned by this one, and this dialog stays open.
#pragma once

#include <QDialog>

#include <vector>

#include "library/search/search_request.h"

class FindResultDialog;
class QLineEdit;
class QRadioButton;

class FindDataDialog : public QDialog {
  Q_OBJECT
 public:
  explicit FindDataDialog(QWidget* parent = nullptr);

  // The request as the controls hold it now.
  SearchRequest request() const;
  // The result dialogs of the searches started so far, oldest first.
  std::vector<FindResultDialog*> resultDialogs() const;

  // OK: starts a search; the dialog stays open.
  void accept() override;

 private:
  QLineEdit* dataSources_;
  QLineEdit* tables_;
  QLineEdit* value_;
  QRadioButton* numeric_;
  QRadioButton* string_;
  QRadioButton* date_;
  std::vector<FindResultDialog*> results_;
};
