#include "platform/com/shell_notify.h"

#include <QCoreApplication>
#include <QThread>
#include <cstring>
#include <map>
#include <mutex>
#include <vector>

namespace {

struct Registry {
  std::mutex lock;
  std::map<int, ShellChangeListener> listeners;
  int nextCookie = 1;
};

Registry& Listeners() {
  static auto* r = new Registry;  // outlives every static destructor that might notify
  return *r;
}

// An ID list from the caller's own process, copied with its terminator.
// The walk stops at 64 KiB: no real list is longer, and a list without a
// terminator must not make us read forever.
std::vector<BYTE> CopyIdList(LPCITEMIDLIST pidl) {
  constexpr size_t kMax = 65536;
  std::vector<BYTE> bytes;
  if (!pidl) return bytes;
  const BYTE* p = reinterpret_cast<const BYTE*>(pidl);
  size_t off = 0;
  for (;;) {
    USHORT cb;
    std::memcpy(&cb, p + off, sizeof cb);
    if (cb == 0) break;
    if (cb < sizeof(USHORT) || off + cb + sizeof(USHORT) > kMax) return {};  // malformed: no item
    off += cb;
  }
  bytes.assign(p, p + off + sizeof(USHORT));
  return bytes;
}

void Deliver(LONG event, UINT flags, const std::vector<BYTE>& pidl) {
  std::vector<ShellChangeListener> snapshot;
  {
    std::lock_guard<std::mutex> g(Listeners().lock);
    for (auto& [cookie, fn] : Listeners().listeners) snapshot.push_back(fn);
  }
  auto list = pidl.empty() ? nullptr : reinterpret_cast<LPCITEMIDLIST>(pidl.data());
  for (auto& fn : snapshot) fn(event, flags, list);
}

}  // namespace

int PlatformAddChangeNotifyListener(ShellChangeListener listener) {
  std::lock_guard<std::mutex> g(Listeners().lock);
  int cookie = Listeners().nextCookie++;
  Listeners().listeners.emplace(cookie, std::move(listener));
  return cookie;
}

void PlatformRemoveChangeNotifyListener(int cookie) {
  std::lock_guard<std::mutex> g(Listeners().lock);
  Listeners().listeners.erase(cookie);
}

extern "C" void SHChangeNotify(LONG wEventId, UINT uFlags, LPCVOID dwItem1, LPCVOID /*dwItem2*/) {
  const UINT type = uFlags & 0xFFu;
  std::vector<BYTE> pidl;
  if (type == SHCNF_IDLIST) pidl = CopyIdList(static_cast<LPCITEMIDLIST>(dwItem1));
  QCoreApplication* app = QCoreApplication::instance();
  if (!app || QThread::currentThread() == app->thread()) {
    Deliver(wEventId, uFlags, pidl);
    return;
  }
  // Listeners touch widgets: run them on the GUI thread. The listener set is
  // read there, so a listener removed meanwhile is not called.
  const bool flush = (uFlags & SHCNF_FLUSH) != 0;
  QMetaObject::invokeMethod(
      app, [wEventId, uFlags, pidl = std::move(pidl)] { Deliver(wEventId, uFlags, pidl); },
      flush ? Qt::BlockingQueuedConnection : Qt::QueuedConnection);
}
