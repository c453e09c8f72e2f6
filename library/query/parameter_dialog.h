// The parameter prompt (dialog 5 / 1005): the values of the '?' markers of a
// prepared statement. The values belong to the run that asks for them, so two
// windows prompting at once keep theirs apart.
#pragma once

#include <QDialog>
#include <array>
#include <string>

inline constexpr int kMaxParameters = 10;

struct ParameterValues {
  int16_t count = 0;                           // markers of the statement, 1..10 while prompting
  std::string statement;                       // the piece being prepared, shown read-only
  std::array<std::string, kMaxParameters> values;  // filled on OK, first `count` used
};

class QLineEdit;

class ParameterDialog : public QDialog {
 public:
  // Fields 1058.. of the first `count` markers are enabled and pre-filled
  // with `nullText`; the others stay disabled and empty.
  ParameterDialog(QWidget* owner, ParameterValues& values, const std::string& nullText);
  void accept() override;

 private:
  ParameterValues& values_;
  std::array<QLineEdit*, kMaxParameters> fields_{};
};

// Shows the prompt modally on the calling (GUI) thread; true for OK (values
// filled), false for Cancel.
bool ShowParameterDialog(QWidget* owner, ParameterValues& values, const std::string& nullText);
