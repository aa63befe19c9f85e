// SPDX-License-Identifier: MIT
#include "gui/resources/app_icon.h"

namespace reelcraft {

HICON AppIcon() {
  // The system shares a loaded resource icon for the program's life.
  return LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(128));
}

} // namespace reelcraft
