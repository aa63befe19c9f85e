#include "app/association.h"

namespace reelcraft {

DesktopFileType ClipDesktopType() {
  return {kClipExtension, "video/x-qvj", "QVAV01", "reelcraft", "reelcraft-qvj"};
}

} // namespace reelcraft
