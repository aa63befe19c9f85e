#pragma once

#include "avi/avi_file.h"

#include <optional>
#include <string>

namespace reelcraft {

// How a conversion reaches its surroundings beyond the clip and the target.
struct ConvertOptions {
  AviWriterOptions avi;
  // Where the audio path puts its separation files; the system's temporary folder if unset.
  std::optional<std::string> tempFolder;
  // The target is a file that the caller created: written only while its path stands for it.
  std::optional<FileIdentity> targetIdentity;
};

} // namespace reelcraft
