// SPDX-License-Identifier: MIT
#pragma once

#include "ui/window_kit.h"

namespace reelcraft {

// The application icon (resource 128) in its rendered sizes.
WindowIcon AppIcon();

} // namespace reelcraft
