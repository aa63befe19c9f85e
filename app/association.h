// SPDX-License-Identifier: MIT
#pragma once

#include "desktop/desktop_integration.h"

#include <string>

namespace reelcraft {

// The clip file association, below HKEY_CLASSES_ROOT.
constexpr const char *kClipExtension = ".qvj";
constexpr const char *kClipFileType = "QVJ.Reelcraft.1";
// Names the clip type's MIME package and the verbs' desktop entries: reelcraft-qvj.xml.
constexpr const char *kClipTypePrefix = "reelcraft-qvj";
// The thumbnailer program, installed and registered beside the program.
constexpr const char *kThumbnailerName = "reelcraft-thumbnailer";
// The GStreamer plugin, installed beside the program and registered with GStreamer.
constexpr const char *kGStreamerPluginName = "libgstreelcraft.so";

// The clip type as the desktop sees it: video/x-qvj, *.qvj, files beginning with "QVAV01";
// the program's icon, its thumbnailer and its GStreamer plugin.
DesktopFileType ClipDesktopType();

} // namespace reelcraft
