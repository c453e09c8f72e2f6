// Shows the wait cursor for the life of the object and puts the previous
// cursor back afterwards (catalog reads, page fills, list renderings).
#pragma once

#include "platform/ui/ui.h"

class WaitCursor {
 public:
  WaitCursor() : previous_(SetCursor(LoadCursorA(nullptr, IDC_WAIT))) {}
  ~WaitCursor() { SetCursor(previous_); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  HCURSOR previous_;
};
