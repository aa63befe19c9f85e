// SPDX-License-Identifier: MIT
#include "ui/window_kit.h"

namespace reelcraft {

namespace {

BOOL CALLBACK FirstVisible(HWND window, LPARAM found) {
  if (!IsWindowVisible(window) || GetWindow(window, GW_OWNER))
    return TRUE;
  *reinterpret_cast<HWND *>(found) = window;
  return FALSE;
}

} // namespace

// The task bar has no place for a text of the program's: the program's button flashes until the
// user comes back to it, which is what the notification is for.
bool NotifyDesktop(const std::string &, const std::string &) {
  HWND window = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FirstVisible, reinterpret_cast<LPARAM>(&window));
  if (!window)
    return false;
  FLASHWINFO flash{sizeof flash, window, FLASHW_ALL | FLASHW_TIMERNOFG, 0, 0};
  FlashWindowEx(&flash);
  return true;
}

} // namespace reelcraft
