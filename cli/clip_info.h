#pragma once

#include "engine/clip_header.h"

#include <string>

namespace reelcraft {

// Every field of a clip's header, one a line under the clip's path, with the picture rate that
// `frameRate` stands for and, for a clip with sound, the block align and byte rate of its audio.
std::string ClipInfoText(const std::string &path, const ClipHeader &header);

} // namespace reelcraft
