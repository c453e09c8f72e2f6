#include "platform/ui/window_messages.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QPointer>
#include <QThread>
#include <QWidget>

namespace {
MessageTarget* targetOf(HWND hWnd) { return hWnd ? dynamic_cast<MessageTarget*>(hWnd) : nullptr; }
}  // namespace

MessageTarget::~MessageTarget() = default;

extern "C" LRESULT SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  MessageTarget* target = targetOf(hWnd);
  if (!target) return 0;
  if (QThread::currentThread() == hWnd->thread()) return target->handleMessage(Msg, wParam, lParam);
  // Another thread: hand the message to the widget's thread and wait.
  LRESULT result = 0;
  QPointer<QWidget> guard(hWnd);
  QMetaObject::invokeMethod(
      hWnd,
      [guard, target, Msg, wParam, lParam, &result] {
        if (guard) result = target->handleMessage(Msg, wParam, lParam);
      },
      Qt::BlockingQueuedConnection);
  return result;
}

extern "C" BOOL PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  MessageTarget* target = targetOf(hWnd);
  if (!target) return FALSE;
  QPointer<QWidget> guard(hWnd);
  QMetaObject::invokeMethod(
      hWnd,
      [guard, target, Msg, wParam, lParam] {
        if (guard) target->handleMessage(Msg, wParam, lParam);
      },
      Qt::QueuedConnection);
  return TRUE;
}
