// Runs a piece of UI work on the GUI thread: directly when called there (or
// when there is no application object), else as a blocking queued call. The
// caller's thread waits, so the GUI thread must not be waiting on it.
#pragma once

#include <QCoreApplication>
#include <QThread>
#include <type_traits>

namespace platform {

template <typename Fn>
auto RunOnGuiThread(Fn&& fn) -> decltype(fn()) {
  QCoreApplication* app = QCoreApplication::instance();
  if (!app || QThread::currentThread() == app->thread()) return fn();
  if constexpr (std::is_void_v<decltype(fn())>) {
    QMetaObject::invokeMethod(app, std::forward<Fn>(fn), Qt::BlockingQueuedConnection);
  } else {
    decltype(fn()) result{};
    QMetaObject::invokeMethod(app, [&] { result = fn(); }, Qt::BlockingQueuedConnection);
    return result;
  }
}

}  // namespace platform
