// Cursors: a shape other than the arrow is shown as Qt's application
// override cursor; setting the arrow again removes that override. The
// platform keeps at most one override of its own on Qt's stack, so any
// sequence of SetCursor calls leaves the stack balanced.
#include <QApplication>
#include <QCursor>
#include <atomic>

#include "platform/ui/gui_thread.h"
#include "platform/ui/ui.h"

struct PlatformCursor {
  WORD id;
  Qt::CursorShape shape;
};

namespace {

PlatformCursor g_cursors[] = {
    {32512, Qt::ArrowCursor},  {32513, Qt::IBeamCursor},        {32514, Qt::WaitCursor},
    {32515, Qt::CrossCursor},  {32649, Qt::PointingHandCursor}, {32650, Qt::BusyCursor},
};
PlatformCursor* const kArrow = &g_cursors[0];

std::atomic<PlatformCursor*> g_current{kArrow};
bool g_overrideSet = false;  // touched on the GUI thread only

void Apply(PlatformCursor* cursor) {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return;
  if (cursor == kArrow) {
    if (g_overrideSet) QApplication::restoreOverrideCursor();
    g_overrideSet = false;
  } else if (g_overrideSet) {
    QApplication::changeOverrideCursor(QCursor(cursor->shape));
  } else {
    QApplication::setOverrideCursor(QCursor(cursor->shape));
    g_overrideSet = true;
  }
}

}  // namespace

extern "C" {

HCURSOR LoadCursorA(HINSTANCE hInstance, LPCSTR lpCursorName) {
  // Only the system cursors exist; modules carry no cursor resources.
  const auto id = reinterpret_cast<uintptr_t>(lpCursorName);
  if (hInstance || id >= 0x10000) {
    SetLastError(1814);  // ERROR_RESOURCE_NAME_NOT_FOUND
    return nullptr;
  }
  for (auto& c : g_cursors)
    if (c.id == id) return &c;
  SetLastError(1814);
  return nullptr;
}

HCURSOR SetCursor(HCURSOR hCursor) {
  // A null cursor hides the pointer on Windows; here it shows the arrow.
  PlatformCursor* next = hCursor ? hCursor : kArrow;
  PlatformCursor* previous = g_current.exchange(next);
  if (previous != next) platform::RunOnGuiThread([next] { Apply(next); });
  return previous;
}
}
