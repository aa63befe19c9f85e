// SPDX-License-Identifier: MIT
#pragma once

#include <QIcon>

namespace reelcraft {

// The application icon (resource 128) in its rendered sizes.
QIcon AppIcon();

} // namespace reelcraft
