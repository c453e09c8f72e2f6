#include "library/catalog/gui_thread.h"

#include <QApplication>
#include <QMetaObject>
#include <QThread>

#include "platform/ui/ui.h"

bool HaveGuiApplication() { return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr; }

bool OnGuiThread() {
  QCoreApplication* app = QCoreApplication::instance();
  return app == nullptr || QThread::currentThread() == app->thread();
}

bool RunOnGuiThread(const std::function<void()>& work) {
  if (!HaveGuiApplication()) return false;
  if (OnGuiThread()) {
    work();
    return true;
  }
  return QMetaObject::invokeMethod(QCoreApplication::instance(), [&work] { work(); },
                                   Qt::BlockingQueuedConnection);
}

int GuiMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
  if (!HaveGuiApplication()) return MessageBoxA(owner, text, caption, type);
  int answer = IDCANCEL;
  RunOnGuiThread([&] { answer = MessageBoxA(owner, text, caption, type); });
  return answer;
}
