// SPDX-License-Identifier: MIT
#pragma once

#include "store/registry_store.h"
#include "sys/process.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace reelcraft {

// An icon file of the hicolor theme: where it goes below the theme's folder
// ("scalable/apps/org.orlancor.Reelcraft.svg") and its bytes.
struct DesktopIcon {
  std::string path;
  std::string_view bytes;
};

// One file type as the desktop sees it.
struct DesktopFileType {
  std::string extension;          // the association's key, e.g. ".qvj"
  std::string mimeType;           // e.g. "video/x-qvj"
  std::string magic;              // the text the files begin with
  std::string icon;               // icon name of the desktop entries
  std::string fileIdPrefix;       // names our files: <prefix>.xml, <prefix>-<verb>.desktop
  std::vector<DesktopIcon> icons; // the entries' icon, in the user's hicolor theme
  std::string thumbnailer;        // its program's file name, beside the registered program
  std::string gstreamerPlugin;    // the plugin's file name, beside the registered program
};

// The association change notice: rebuilds the desktop's view of `type` from its association
// under HKEY_CLASSES_ROOT. A shared-mime-info package (glob and magic) in
// $XDG_DATA_HOME/mime/packages, one desktop entry per verb in $XDG_DATA_HOME/applications,
// "open" as the type's default application in $XDG_CONFIG_HOME/mimeapps.list, the icons in
// $XDG_DATA_HOME/icons/hicolor, and a <prefix>.thumbnailer entry in $XDG_DATA_HOME/thumbnailers
// when the thumbnailer lies beside the program of "open", and a copy of the GStreamer plugin
// lying there in $XDG_DATA_HOME/gstreamer-1.0/plugins; then the MIME and desktop databases
// are updated through `run` when they changed. Files of verbs that are gone are removed,
// and all of them once the association is.
void RebuildDesktopIntegration(RegistryStore &store, const DesktopFileType &type,
                               const CommandRunner &run = RunAndWait);

// The text of an Exec key for `argv`, "%1" becoming the file's field code.
std::string DesktopExecLine(const std::vector<std::string> &argv);

} // namespace reelcraft
