// SPDX-License-Identifier: MIT
#include "gui/resources/app_icon.h"

#include "app/app_icon_files.h"

namespace reelcraft {

// The program carries its icon as the pictures of the desktop themes; the system makes an icon
// of the 32-pixel one, kept for the program's life as the system's own icons are.
HICON AppIcon() {
  static const HICON icon = [] {
    for (const DesktopIcon &file : AppIconFiles()) {
      if (!file.path.starts_with("32x32/"))
        continue;
      auto *bytes = reinterpret_cast<BYTE *>(const_cast<char *>(file.bytes.data()));
      return CreateIconFromResourceEx(bytes, DWORD(file.bytes.size()), TRUE, 0x00030000, 32, 32,
                                      LR_DEFAULTCOLOR);
    }
    return HICON(nullptr);
  }();
  return icon;
}

} // namespace reelcraft
