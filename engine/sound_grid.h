// SPDX-License-Identifier: MIT
#pragma once

#include "engine/clip_header.h"

#include <string>
#include <vector>

namespace reelcraft {

// For a salvage: where the header's audioPresent or dataOffset contradicts the sound blocks the
// clip holds (blocks that begin FF FF on the 512-byte grid), sets `header` after the data and
// gives what it changed, worded for the report; nothing when the header agrees or the data
// shows no sound.
std::vector<std::string> FollowSoundGrid(const std::string &clipPath, ClipHeader &header);

} // namespace reelcraft
