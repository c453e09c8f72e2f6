#include "platform/ui/icon_handles.h"

#include <atomic>

struct PlatformIcon {
  QIcon icon;
};

namespace {
std::atomic<long> g_liveIcons{0};
}

HICON PlatformCreateIcon(const QIcon& icon) {
  HICON handle = new PlatformIcon{icon};
  ++g_liveIcons;
  return handle;
}

QIcon PlatformIconOf(HICON icon) { return icon ? icon->icon : QIcon(); }

BOOL DestroyIcon(HICON hIcon) {
  if (!hIcon) return FALSE;
  delete hIcon;
  --g_liveIcons;
  return TRUE;
}

long PlatformLiveIcons(void) { return g_liveIcons.load(); }
