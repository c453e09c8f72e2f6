// The "Find Result" dialog (16, modeless): the rows a search visits and
// finds (list 1019), the data source (edit 1078) and table (edit 1079) being
// searched, and Cancel. Each dialog runs one search on a worker thread of
// its own, so that the program stays responsive while it runs.
#pragma once

#include <QDialog>

#include <memory>
#include <thread>

#include "library/search/search_request.h"

class FoundRowsModel;
class QLineEdit;
class QPushButton;
class QTableView;
class QTimer;

class FindResultDialog : public QDialog {
  Q_OBJECT
 public:
  explicit FindResultDialog(QWidget* owner);
  // Stops a running search and waits for its worker (processing events, so
  // that a login prompt or message box the worker waits on can finish).
  ~FindResultDialog() override;

  // Shows the dialog and starts the search. Once per dialog.
  void start(const SearchRequest& request);
  bool running() const { return running_; }
  FoundRowsModel* model() const { return model_; }

  // Cancel: stops the search after the statement that runs now, then hides
  // the dialog; hides it at once when no search runs.
  void reject() override;

 signals:
  void searchFinished();

 private:
  struct Run;
  class Sink;

  void searchDone();
  void addRow(const QString& dataSource, const QString& table, const QString& key);
  void stopAndWait();

  FoundRowsModel* model_;
  QTableView* list_;
  QLineEdit* currentDataSource_;
  QLineEdit* currentTable_;
  QPushButton* cancel_;
  QTimer* resizeTimer_;
  std::shared_ptr<Run> run_;
  std::thread worker_;
  bool running_ = false;
  bool hideWhenDone_ = false;
};
