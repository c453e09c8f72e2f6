// Helpers for tests that drive real widgets: the one QApplication of a test
// program, a watcher that acts on modal dialogs as they appear, and a
// recorder that answers message boxes.
#pragma once

#include <QPointer>
#include <QString>

#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/ui/ui.h"

class QDialog;
class QTimer;
class QWidget;

// Creates the test program's QApplication on first call (offscreen when no
// platform is chosen) and returns it.
class QApplication;
QApplication* EnsureGuiApplication();

// Runs the event loop of the calling (GUI) thread until `done` answers true
// or `timeoutMs` passes; returns `done()`.
bool ProcessEventsUntil(const std::function<bool()>& done, int timeoutMs = 10000);

// Calls `handler` for every modal dialog that becomes the active modal widget
// while the watcher lives (polled on the GUI thread's event loop), once per
// dialog. The handler closes the dialog, now or later.
class ModalDialogWatcher {
 public:
  explicit ModalDialogWatcher(std::function<void(QDialog*)> handler);
  ~ModalDialogWatcher();
  int dialogsSeen() const { return seen_; }

 private:
  std::function<void(QDialog*)> handler_;
  QTimer* timer_;
  std::vector<QPointer<QDialog>> handled_;
  int seen_ = 0;
};

// Finds a child widget by its control identifier (object name).
template <typename T>
T* FindControl(QWidget* parent, int id);

// Installs a message box hook for its lifetime: records every call with the
// thread it came on and answers `answer`.
class MessageBoxRecorder {
 public:
  struct Call {
    MessageBoxCall call;
    std::thread::id thread;
  };
  explicit MessageBoxRecorder(int answer = IDOK);
  ~MessageBoxRecorder();
  std::vector<Call> calls() const;

 private:
  mutable std::mutex mutex_;
  std::vector<Call> calls_;
  MessageBoxHook previous_;
};

#include <QWidget>
template <typename T>
T* FindControl(QWidget* parent, int id) {
  return parent->findChild<T*>(QString::number(id));
}
