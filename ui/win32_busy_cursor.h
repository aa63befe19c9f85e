// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

namespace reelcraft {

// Shows the wait cursor while it lives, and the cursor before it afterwards. The windows of the
// kit keep showing it while the pointer moves over them (WM_SETCURSOR), as the pump runs.
class BusyCursor {
public:
  BusyCursor() : previous_(SetCursor(WaitCursor())) { ++Count(); }
  ~BusyCursor() {
    --Count();
    SetCursor(previous_);
  }
  BusyCursor(const BusyCursor &) = delete;
  BusyCursor &operator=(const BusyCursor &) = delete;

  static bool Shown() { return Count() > 0; }
  static HCURSOR WaitCursor() { return LoadCursorW(nullptr, MAKEINTRESOURCEW(32514)); } // IDC_WAIT

private:
  // Per thread, as the windows are.
  static int &Count() {
    thread_local int count = 0;
    return count;
  }

  HCURSOR previous_;
};

} // namespace reelcraft
