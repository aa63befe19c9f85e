// SPDX-License-Identifier: MIT
#include "app/association.h"

#include "app/app_icon_files.h"
#include "sys/version.h"

namespace reelcraft {

DesktopFileType ClipDesktopType() {
  return {kClipExtension,  "video/x-qvj",  "QVAV01",         kApplicationId,
          kClipTypePrefix, AppIconFiles(), kThumbnailerName, kGStreamerPluginName};
}

} // namespace reelcraft
