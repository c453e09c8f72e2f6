#include "library/search/find_result_dialog.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <atomic>
#include <chrono>

#include "library/res/dialogs.h"
#include "library/res/resource_ids.h"
#include "library/search/data_search.h"
#include "library/search/found_rows_model.h"

namespace {
// Column widths follow the contents at most this often while rows arrive;
// sizing after every row would cost a pass over all rows each time.
constexpr int kResizeDelayMs = 150;
}  // namespace

// What the dialog and its worker share; the worker holds its own reference.
struct FindResultDialog::Run {
  SearchControl control;
  std::atomic<bool> finished{false};
};

// Hands the worker's progress to the dialog on the GUI thread. The dialog
// outlives the worker (its destructor waits for it), so posting to it is
// safe for as long as the worker runs.
class FindResultDialog::Sink : public SearchSink {
 public:
  explicit Sink(FindResultDialog* dialog) : dialog_(dialog) {}

  void currentDataSource(const std::string& name) override { post(dialog_->currentDataSource_, name); }
  void currentTable(const std::string& name) override { post(dialog_->currentTable_, name); }
  void addRow(const std::string& dataSource, const std::string& table, const std::string& key) override {
    FindResultDialog* dialog = dialog_;
    QMetaObject::invokeMethod(
        dialog,
        [dialog, d = QString::fromStdString(dataSource), t = QString::fromStdString(table),
         k = QString::fromStdString(key)] { dialog->addRow(d, t, k); },
        Qt::QueuedConnection);
  }

 private:
  void post(QLineEdit* edit, const std::string& text) {
    QMetaObject::invokeMethod(
        dialog_, [edit, t = QString::fromStdString(text)] { edit->setText(t); }, Qt::QueuedConnection);
  }
  FindResultDialog* dialog_;
};

FindResultDialog::FindResultDialog(QWidget* owner) : QDialog(owner) {
  setObjectName(QString::number(IDD_FIND_RESULT));
  setWindowTitle(QString::fromUtf8(DialogCaption(IDD_FIND_RESULT)));
  setModal(false);

  model_ = new FoundRowsModel(this);
  list_ = new QTableView(this);
  list_->setObjectName(QString::number(IDC_FOUND_LIST));
  list_->setModel(model_);
  // Grid lines, movable headings, whole-row selection: the list's styles.
  list_->setShowGrid(true);
  list_->horizontalHeader()->setSectionsMovable(true);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->verticalHeader()->hide();
  list_->resizeColumnsToContents();

  currentDataSource_ = new QLineEdit(this);
  currentDataSource_->setObjectName(QString::number(IDC_FOUND_DSN));
  currentDataSource_->setReadOnly(true);
  currentTable_ = new QLineEdit(this);
  currentTable_->setObjectName(QString::number(IDC_FOUND_TABLE));
  currentTable_->setReadOnly(true);

  auto* dsnLabel = new QLabel(QString::fromUtf8(DialogText(IDD_FIND_RESULT, IDC_FOUND_DSN)), this);
  dsnLabel->setBuddy(currentDataSource_);
  auto* tableLabel = new QLabel(QString::fromUtf8(DialogText(IDD_FIND_RESULT, IDC_FOUND_TABLE)), this);
  tableLabel->setBuddy(currentTable_);

  cancel_ = new QPushButton(QString::fromUtf8(DialogText(IDD_FIND_RESULT, IDC_CANCEL)), this);
  cancel_->setObjectName(QString::number(IDC_CANCEL));
  connect(cancel_, &QPushButton::clicked, this, &FindResultDialog::reject);

  auto* current = new QHBoxLayout;
  current->addWidget(dsnLabel);
  current->addWidget(currentDataSource_, 1);
  current->addWidget(tableLabel);
  current->addWidget(currentTable_, 1);
  current->addWidget(cancel_);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(list_, 1);
  layout->addLayout(current);
  resize(640, 360);

  resizeTimer_ = new QTimer(this);
  resizeTimer_->setSingleShot(true);
  resizeTimer_->setInterval(kResizeDelayMs);
  connect(resizeTimer_, &QTimer::timeout, list_, &QTableView::resizeColumnsToContents);
}

FindResultDialog::~FindResultDialog() {
  hideWhenDone_ = false;
  stopAndWait();
}

void FindResultDialog::start(const SearchRequest& request) {
  if (run_) return;
  run_ = std::make_shared<Run>();
  running_ = true;
  show();
  std::shared_ptr<Run> run = run_;
  worker_ = std::thread([this, run, request] {
    Sink sink(this);
    RunDataSearch(request, sink, run->control);
    QMetaObject::invokeMethod(this, [this] { searchDone(); }, Qt::QueuedConnection);
    run->finished.store(true);
  });
}

void FindResultDialog::reject() {
  if (!running_) {
    QDialog::reject();
    return;
  }
  hideWhenDone_ = true;
  cancel_->setEnabled(false);
  run_->control.requestStop();
  // A cancel that reaches the driver just before the worker starts executing
  // is lost (there is nothing to cancel yet), and a statement started after
  // that runs on; so the stop is repeated until the worker is done.
  auto* again = new QTimer(this);
  again->setInterval(100);
  connect(again, &QTimer::timeout, this, [this, again] {
    if (!running_) {
      again->deleteLater();
      return;
    }
    run_->control.requestStop();
  });
  again->start();
}

void FindResultDialog::addRow(const QString& dataSource, const QString& table, const QString& key) {
  model_->prependRow({dataSource, table, key});
  if (!resizeTimer_->isActive()) resizeTimer_->start();
}

void FindResultDialog::searchDone() {
  if (!running_) return;
  if (worker_.joinable()) worker_.join();
  running_ = false;
  resizeTimer_->stop();
  list_->resizeColumnsToContents();
  cancel_->setEnabled(true);
  if (hideWhenDone_) {
    hideWhenDone_ = false;
    QDialog::reject();
  }
  emit searchFinished();
}

void FindResultDialog::stopAndWait() {
  if (!worker_.joinable()) return;
  run_->control.requestStop();
  // The worker may wait for the GUI thread (login prompt, message box,
  // nothing else), so the GUI thread keeps serving it until it is done.
  while (!run_->finished.load()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    run_->control.requestStop();  // repeated: see reject()
  }
  if (worker_.joinable()) worker_.join();  // searchDone may have joined it meanwhile
  running_ = false;
}
