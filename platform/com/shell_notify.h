// Listeners for SHChangeNotify. The shell host registers one per window; the
// library's SHChangeNotify calls reach them on the GUI thread (queued there
// when the call comes from another thread; SHCNF_FLUSH then waits until the
// listeners have run). The item list handed to a listener is a private copy
// that lives for the duration of the call.
#pragma once

#include <functional>

#include "platform/com/shlobj.h"

// pidl1 is the first item as an ID list for SHCNF_IDLIST notices, and null
// for path notices (SHCNF_PATHA) and notices without items.
using ShellChangeListener = std::function<void(LONG event, UINT flags, LPCITEMIDLIST pidl1)>;

// Returns a cookie (> 0) for PlatformRemoveChangeNotifyListener.
int PlatformAddChangeNotifyListener(ShellChangeListener listener);
void PlatformRemoveChangeNotifyListener(int cookie);
