#include "library/query/result_window.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QEventLoop>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

#include "library/catalog/connection.h"
#include "library/catalog/gui_thread.h"
#include "library/query/list_render.h"
#include "library/query/result_model.h"
#include "library/query/shortcut_file.h"
#include "library/query/statement_editor.h"
#include "library/res/accelerators.h"
#include "library/res/icons.h"
#include "library/res/menus.h"
#include "library/res/resource_ids.h"
#include "library/res/strings.h"
#include "library/shell/module_state.h"
#include "platform/ui/ui.h"

// ---- handle --------------------------------------------------------------------

bool ResultWindowHandle::closed() const {
  std::lock_guard lock(mutex_);
  return closed_;
}

void ResultWindowHandle::wait() {
  if (OnGuiThread() && QCoreApplication::instance()) {
    QEventLoop loop;
    {
      std::lock_guard lock(mutex_);
      if (closed_) return;
      loops_.push_back(&loop);
    }
    loop.exec();
    return;
  }
  std::unique_lock lock(mutex_);
  condition_.wait(lock, [this] { return closed_; });
}

void ResultWindowHandle::markClosed() {
  std::vector<QEventLoop*> loops;
  {
    std::lock_guard lock(mutex_);
    closed_ = true;
    loops.swap(loops_);
  }
  condition_.notify_all();
  for (QEventLoop* loop : loops) loop->quit();
}

void ResultWindowHandle::setWindow(ResultWindow* window) { window_ = window; }

// ---- the sink of a run -------------------------------------------------------------

namespace {

// The link from a run to its window. Created and read on the GUI thread
// only; the worker merely carries it into the queued calls.
struct WindowLink {
  QPointer<ResultWindow> window;
  uint64_t token = 0;
  ResultWindow* live() const {
    ResultWindow* w = window.data();
    return w && w->runToken() == token ? w : nullptr;
  }
};

class WindowSink : public RunSink {
 public:
  explicit WindowSink(std::shared_ptr<WindowLink> link) : link_(std::move(link)) {}

  void status(std::string text) override {
    post([text = std::move(text)](ResultWindow* w) { w->runStatus(text); });
  }
  void title(std::string text) override {
    post([text = std::move(text)](ResultWindow* w) { w->runTitle(text); });
  }
  void columns(std::vector<std::string> names) override {
    auto shared = std::make_shared<std::vector<std::string>>(std::move(names));
    post([shared](ResultWindow* w) { w->runColumns(std::move(*shared)); });
  }
  void rows(RowBatch&& batch) override {
    auto shared = std::make_shared<RowBatch>(std::move(batch));
    post([shared](ResultWindow* w) { w->runRows(std::move(*shared)); });
  }
  bool promptParameters(ParameterValues& values, const std::string& nullText) override {
    bool accepted = false;
    RunOnGuiThread([&] {
      if (ResultWindow* w = link_->live()) accepted = ShowParameterDialog(w, values, nullText);
    });
    return accepted;
  }
  void tooManyParameters() override {
    RunOnGuiThread([&] {
      const std::string text = ResString(IDS_TOO_MANY_PARAMETERS);
      MessageBoxA(link_->live(), text.c_str(), kProductTitle, MB_OK | MB_ICONINFORMATION);
    });
  }
  void finished(RunOutcome outcome) override {
    auto shared = std::make_shared<RunOutcome>(std::move(outcome));
    post([shared](ResultWindow* w) { w->runFinished(std::move(*shared)); });
  }

 private:
  // Queued to the application object, which outlives every window: the
  // window itself may be deleted at any time, so the call looks it up on the
  // GUI thread and drops itself when the window (or its run) is gone.
  template <typename Fn>
  void post(Fn fn) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) return;
    QMetaObject::invokeMethod(
        app, [link = link_, fn = std::move(fn)]() mutable {
          if (ResultWindow* w = link->live()) fn(w);
        },
        Qt::QueuedConnection);
  }

  std::shared_ptr<WindowLink> link_;
};

// Height of the status line: the list font's height times 1.3, computed once
// for the process and shared by every window.
int StatusHeight(const QWidget* list) {
  static const int height = static_cast<int>(list->fontMetrics().height() * 1.3);
  return height;
}

constexpr int kCancelWidth = 80;

}  // namespace

// ---- window --------------------------------------------------------------------

ResultWindow::ObjectCount::ObjectCount() { ++g_objectCount; }
ResultWindow::ObjectCount::~ObjectCount() { --g_objectCount; }

ResultWindow::ResultWindow(std::string statement, std::string dataSource)
    : statement_(std::move(statement)),
      session_(std::make_shared<QuerySession>(std::move(dataSource))),
      handle_(std::make_shared<ResultWindowHandle>()) {
  setAttribute(Qt::WA_DeleteOnClose);
  setProperty("windowClass", "DATROVA_SQLRESULT");
  setWindowIcon(LoadResIcon(IDI_PRODUCT));
  handle_->setWindow(this);

  if (QMenuBar* bar = LoadMenuBar(IDR_MENU_RESULT, this)) {
    setMenuBar(bar);
    for (QAction* action : bar->findChildren<QAction*>()) {
      const QVariant id = action->property("menuItemId");
      if (id.isValid() && !action->menu())
        connect(action, &QAction::triggered, this, [this, id] { command(id.toUInt()); });
    }
  }

  pane_ = new QWidget(this);
  setCentralWidget(pane_);
  pane_->installEventFilter(this);

  model_ = new ResultModel(this);
  list_ = new QTableView(pane_);
  list_->setObjectName(QString::number(IDC_RESULT_LIST));
  list_->setModel(model_);
  list_->setShowGrid(true);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setSortingEnabled(false);
  list_->verticalHeader()->hide();
  list_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  list_->horizontalHeader()->setSectionsMovable(true);
  list_->horizontalHeader()->setDefaultSectionSize(100);
  list_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  list_->horizontalHeader()->setSortIndicatorShown(false);

  message_ = new QLabel(pane_);
  message_->setObjectName(QString::number(IDC_RESULT_MESSAGE));
  message_->setTextFormat(Qt::PlainText);
  message_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  message_->setWordWrap(true);
  message_->setAutoFillBackground(true);
  message_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  message_->hide();

  status_ = new QLabel(pane_);
  status_->setObjectName(QString::number(IDC_RESULT_STATUS));
  status_->setTextFormat(Qt::PlainText);
  status_->setFont(list_->font());

  cancel_ = new QPushButton(QString::fromStdString(ResString(IDS_CANCEL)), pane_);
  cancel_->setObjectName(QString::number(IDC_RESULT_CANCEL));
  cancel_->hide();
  connect(cancel_, &QPushButton::clicked, this, [this] { command(IDM_RESULT_CANCEL); });

  // Accelerator table 128 on the window and its children, so F5, Ctrl+C and
  // Ctrl+Insert also work while the list has the focus.
  InstallAccelerators(this, IDR_ACCEL_RESULT, [this](UINT id) { command(id); });

  resize(640, 420);
  // The first run starts as soon as the window is shown.
  PostMessageA(this, WM_COMMAND, IDM_REFRESH, 0);
}

ResultWindow::~ResultWindow() {
  if (run_) run_->requestCancel(true);
  handle_->markClosed();
}

void ResultWindow::closeEvent(QCloseEvent* event) {
  // A run in progress is cancelled, not waited for: the worker keeps the
  // session alive and its late results find no window.
  if (run_) run_->requestCancel(true);
  run_.reset();
  ++runToken_;
  RenderAllClipboardFormats(this);
  event->accept();
}

bool ResultWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == pane_ && event->type() == QEvent::Resize) layoutChildren();
  return QMainWindow::eventFilter(watched, event);
}

void ResultWindow::layoutChildren() {
  const int w = pane_->width();
  const int h = pane_->height();
  const int statusHeight = StatusHeight(list_);
  list_->setGeometry(0, 0, w, h - statusHeight);
  message_->setGeometry(0, 0, w, h - statusHeight);
  const int statusWidth = running() ? w - kCancelWidth : w;
  status_->setGeometry(0, h - statusHeight, statusWidth > 0 ? statusWidth : 0, statusHeight);
  cancel_->setGeometry(w - kCancelWidth, h - statusHeight, kCancelWidth, statusHeight);
  message_->update();
}

LRESULT ResultWindow::handleMessage(UINT msg, WPARAM wParam, LPARAM) {
  switch (msg) {
    case WM_COMMAND:
      command(LOWORD(wParam));
      return 0;
    case WM_SETTINGCHANGE:
      // Each run opens the user's regional settings anew, so a re-run is
      // all a change of formats needs.
      startRun(false, false);
      return 0;
    case WM_CLOSE:
      close();
      return 0;
    default:
      return 0;
  }
}

void ResultWindow::command(UINT commandId) {
  switch (commandId) {
    case IDM_CHANGE_STATEMENT: startRun(true, false); break;
    case IDM_RESULT_CANCEL:
      if (run_) run_->requestCancel();
      break;
    case IDM_COPY: CopyListToClipboard(this, model_); break;
    case IDM_EXIT: close(); break;
    case IDM_REFRESH: startRun(false, false); break;
    case IDM_INSERT_SCRIPT: startRun(false, true); break;
    case IDM_NEW_SELECTION_WINDOW: OpenResultWindow("", session_->dataSource.c_str()); break;
    case IDM_CREATE_SHORTCUT: saveShortcut(); break;
    default: break;
  }
}

void ResultWindow::refuseRun() {
  // Refused visibly: the status line flashes and the bell rings; the run in
  // progress goes on undisturbed.
  ++refusedRuns_;
  QApplication::beep();
  status_->setStyleSheet("background-color: palette(highlight); color: palette(highlighted-text);");
  QTimer::singleShot(600, status_, [label = QPointer<QLabel>(status_)] {
    if (label) label->setStyleSheet(QString());
  });
}

void ResultWindow::startRun(bool editFirst, bool scriptMode) {
  if (running()) {
    refuseRun();
    return;
  }
  if (editFirst || statement_.empty()) {
    std::string text = statement_;
    if (ShowStatementEditor(this, text) != IDOK || text.empty()) return;
    statement_ = std::move(text);
  }
  if (!isVisible()) show();

  auto control = std::make_shared<RunControl>();
  run_ = control;
  auto link = std::make_shared<WindowLink>();
  link->window = this;
  link->token = ++runToken_;

  model_->clear();
  message_->hide();
  list_->show();
  setRunning(true);
  StartQueryWorker(statement_, scriptMode, RunSettings::FromGlobal(), session_, control,
                   std::make_shared<WindowSink>(link));
}

void ResultWindow::setRunning(bool isRunning) {
  if (QMenuBar* bar = menuBar()) {
    for (int position = 0; position < 2; ++position)
      if (QMenu* popup = MenuPopupAt(bar, position)) popup->menuAction()->setEnabled(!isRunning);
  }
  cancel_->setVisible(isRunning);
  if (isRunning)
    setCursor(Qt::BusyCursor);
  else
    unsetCursor();
  layoutChildren();
}

void ResultWindow::runStatus(const std::string& text) {
  status_->setText(QString::fromStdString(text));
  status_->repaint();
}

void ResultWindow::runTitle(const std::string& text) { setWindowTitle(QString::fromStdString(text)); }

void ResultWindow::runColumns(std::vector<std::string> names) { model_->setColumns(std::move(names)); }

void ResultWindow::runRows(RowBatch&& batch) {
  // The view is not redrawn while the batch goes in.
  list_->setUpdatesEnabled(false);
  model_->appendBatch(std::move(batch));
  list_->setUpdatesEnabled(true);
}

void ResultWindow::runFinished(RunOutcome outcome) {
  run_.reset();
  ++runToken_;
  if (outcome.canceled) status_->setText(QString::fromStdString(ResString(IDS_STATEMENT_CANCELED)));
  const std::string& text = !outcome.errorText.empty() ? outcome.errorText : outcome.messageText;
  if (!text.empty()) {
    message_->setText(QString::fromStdString(text));
    message_->show();
    message_->raise();
    list_->hide();
  } else if (outcome.scriptMode) {
    if (outcome.scriptReady) QGuiApplication::clipboard()->setText(QString::fromStdString(outcome.script));
  } else {
    list_->show();
    message_->hide();
  }
  setRunning(false);
  status_->repaint();
  ++finishedRuns_;
}

void ResultWindow::saveShortcut() {
  std::string filter = ResString(IDS_SHORTCUT_FILTER);
  // "Description@pattern@": the description is what the dialog shows; it
  // carries the pattern in parentheses, which Qt reads as the filter.
  const size_t at = filter.find('@');
  if (at != std::string::npos) filter.resize(at);
  QFileDialog dialog(this, QString::fromStdString(ResString(IDS_SHORTCUT_SAVE_TITLE)), QString(),
                     QString::fromStdString(filter));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix("dtq");
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  // A failed write is not reported.
  WriteShortcutFile(dialog.selectedFiles().front().toStdString(), session_->dataSource, statement_);
}

// ---- entries -------------------------------------------------------------------

std::shared_ptr<ResultWindowHandle> OpenResultWindow(const char* statement, const char* dataSource) {
  if (!statement || !dataSource || !HaveGuiApplication()) return nullptr;
  std::shared_ptr<ResultWindowHandle> handle;
  const std::string text = statement;
  const std::string dsn = dataSource;
  RunOnGuiThread([&] {
    auto* window = new ResultWindow(text, dsn);
    handle = window->handle();
    window->show();
  });
  return handle;
}

void StatementEntry(const char* dataSource) {
  std::string statement;
  int result = IDCANCEL;
  RunOnGuiThread([&] { result = ShowStatementEditor(nullptr, statement); });
  if (result == -1) {
    ShowSystemError(nullptr);
    return;
  }
  if (result == IDOK && !statement.empty()) OpenResultWindow(statement.c_str(), dataSource ? dataSource : "");
}
