// The desktop window and window class names.
#include <QApplication>
#include <QPointer>
#include <QWidget>
#include <cstring>

#include "platform/ui/gui_thread.h"
#include "platform/ui/ui.h"

namespace {

QPointer<QWidget>& Desktop() {
  static auto* desktop = new QPointer<QWidget>;
  return *desktop;
}

// Deletes the desktop widget while the application still exists.
void DestroyDesktop() {
  delete Desktop().data();
}

}  // namespace

extern "C" {

HWND GetDesktopWindow(void) {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return nullptr;
  return platform::RunOnGuiThread([]() -> QWidget* {
    if (!Desktop()) {
      auto* w = new QWidget;
      w->setObjectName("desktop");
      w->setProperty("windowClass", QStringLiteral("#32769"));  // the Windows desktop class
      Desktop() = w;
      qAddPostRoutine(DestroyDesktop);
    }
    return Desktop().data();
  });
}

int GetClassNameA(HWND hWnd, LPSTR lpClassName, int nMaxCount) {
  if (!hWnd || !lpClassName || nMaxCount <= 0) {
    SetLastError(hWnd ? ERROR_INVALID_PARAMETER : 1400);  // ERROR_INVALID_WINDOW_HANDLE
    return 0;
  }
  QByteArray name = platform::RunOnGuiThread([hWnd]() -> QByteArray {
    QVariant v = hWnd->property("windowClass");
    if (v.isValid() && !v.toString().isEmpty()) return v.toString().toUtf8();
    return QByteArray(hWnd->metaObject()->className());
  });
  // Windows cuts the name to nMaxCount - 1 and returns what was copied.
  int n = std::min<int>(static_cast<int>(name.size()), nMaxCount - 1);
  std::memcpy(lpClassName, name.constData(), static_cast<size_t>(n));
  lpClassName[n] = '\0';
  return n;
}
}
