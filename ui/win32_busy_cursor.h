// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

namespace reelcraft {

// Shows the wait cursor while it lives, and the cursor before it afterwards.
class BusyCursor {
public:
  BusyCursor() : previous_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
  ~BusyCursor() { SetCursor(previous_); }
  BusyCursor(const BusyCursor &) = delete;
  BusyCursor &operator=(const BusyCursor &) = delete;

private:
  HCURSOR previous_;
};

} // namespace reelcraft
