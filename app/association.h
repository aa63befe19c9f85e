#pragma once

#include "desktop/desktop_integration.h"

#include <string>

namespace reelcraft {

// The clip file association, below HKEY_CLASSES_ROOT.
constexpr const char *kClipExtension = ".qvj";
constexpr const char *kClipFileType = "QVJ.Reelcraft.1";

// The clip type as the desktop sees it: video/x-qvj, *.qvj, files beginning with "QVAV01".
DesktopFileType ClipDesktopType();

} // namespace reelcraft
