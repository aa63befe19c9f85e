// SPDX-License-Identifier: MIT
#pragma once

#include "desktop/desktop_integration.h"

#include <vector>

namespace reelcraft {

// The application icon's files for the hicolor theme, carried in the program so that a
// registered copy can put them into the user's home.
std::vector<DesktopIcon> AppIconFiles();

} // namespace reelcraft
