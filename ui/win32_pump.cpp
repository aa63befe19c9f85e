// SPDX-License-Identifier: MIT
#include "ui/win32_pump.h"

#include <windows.h>

namespace reelcraft {

void Win32Pump::RunPending() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(int(message.wParam));
      return;
    }
    // Tab, Enter and Escape in a modeless dialog act as the dialog manager has them act.
    HWND active = GetActiveWindow();
    if (active && IsDialogMessageW(active, &message))
      continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

} // namespace reelcraft
