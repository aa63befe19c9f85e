// SPDX-License-Identifier: MIT
#pragma once

// A window and the controls the windows' logic holds, as the system's dialog kit names them.
#ifdef _WIN32
#include <windows.h>
namespace reelcraft {
using WindowHandle = HWND;
using ListControl = HWND__;
using BarControl = HWND__;
} // namespace reelcraft
#else
class QListWidget;
class QProgressBar;
class QWidget;
namespace reelcraft {
using WindowHandle = QWidget *;
using ListControl = QListWidget;
using BarControl = QProgressBar;
} // namespace reelcraft
#endif
