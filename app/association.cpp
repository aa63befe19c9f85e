#include "app/association.h"

#include "app/app_icon_files.h"

namespace reelcraft {

DesktopFileType ClipDesktopType() {
  return {kClipExtension,  "video/x-qvj",  "QVAV01",         "reelcraft",
          "reelcraft-qvj", AppIconFiles(), kThumbnailerName, kGStreamerPluginName};
}

} // namespace reelcraft
