// SPDX-License-Identifier: MIT
#include "gui/resources/app_icon.h"

namespace reelcraft {

QIcon AppIcon() {
  QIcon icon;
  for (int size : {32, 64, 128})
    icon.addFile(QStringLiteral(":/icons/reelcraft_%1.png").arg(size), QSize(size, size));
  return icon;
}

} // namespace reelcraft
