#pragma once

#include "desktop/desktop_integration.h"

#include <optional>
#include <string>
#include <vector>

namespace reelcraft {

// The clip file association, below HKEY_CLASSES_ROOT.
constexpr const char *kClipExtension = ".qvj";
constexpr const char *kClipFileType = "QVJ.Reelcraft.1";
// The thumbnailer program, installed and registered beside the program.
constexpr const char *kThumbnailerName = "reelcraft-thumbnailer";

// The clip type as the desktop sees it: video/x-qvj, *.qvj, files beginning with "QVAV01";
// the program's icon and its thumbnailer.
DesktopFileType ClipDesktopType();

// Splits a verb's command value the way it reaches the program: the program path (quoted, or
// up to the first space), then the rest read as the program reads its own command line. Gives
// the program and its first and, if any, second argument.
std::optional<std::vector<std::string>> SplitVerbCommand(const std::string &command);

} // namespace reelcraft
