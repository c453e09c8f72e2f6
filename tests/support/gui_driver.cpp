#include "tests/support/gui_driver.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QThread>
#include <QTimer>

#include <cstdlib>

QApplication* EnsureGuiApplication() {
  if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) return app;
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int argc = 1;
  static char name[] = "datrova-test";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);  // lives for the whole program
  return app;
}

bool ProcessEventsUntil(const std::function<bool()>& done, int timeoutMs) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < timeoutMs) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(1);
  }
  return done();
}

ModalDialogWatcher::ModalDialogWatcher(std::function<void(QDialog*)> handler)
    : handler_(std::move(handler)), timer_(new QTimer) {
  EnsureGuiApplication();
  timer_->setInterval(10);
  QObject::connect(timer_, &QTimer::timeout, [this] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!dialog || !dialog->isVisible()) return;
    for (const QPointer<QDialog>& seen : handled_)
      if (seen == dialog) return;
    handled_.emplace_back(dialog);
    ++seen_;
    handler_(dialog);
  });
  timer_->start();
}

ModalDialogWatcher::~ModalDialogWatcher() { delete timer_; }

MessageBoxRecorder::MessageBoxRecorder(int answer) {
  previous_ = PlatformSetMessageBoxHook([this, answer](const MessageBoxCall& call) {
    std::lock_guard<std::mutex> lock(mutex_);
    calls_.push_back({call, std::this_thread::get_id()});
    return answer;
  });
}

MessageBoxRecorder::~MessageBoxRecorder() { PlatformSetMessageBoxHook(previous_); }

std::vector<MessageBoxRecorder::Call> MessageBoxRecorder::calls() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return calls_;
}
