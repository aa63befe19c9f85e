// SPDX-License-Identifier: MIT
#pragma once

#include "engine/clip_header.h"

#include <nlohmann/json.hpp>

#include <string>

namespace reelcraft {

// Every field of a clip's header, one a line under the clip's path, with the picture rate that
// `frameRate` stands for and, for a clip with sound, the block align and byte rate of its audio.
std::string ClipInfoText(const std::string &path, const ClipHeader &header);

// The same as a JSON object: "path" (and "pathBytes": see WithPathFields), the fields under the
// same names with the values as stored, "picturesPerSecond" and "durationSeconds" (null for a
// `frameRate` of 0).
nlohmann::ordered_json ClipInfoJson(const std::string &path, const ClipHeader &header);

} // namespace reelcraft
