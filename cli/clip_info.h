// SPDX-License-Identifier: MIT
#pragma once

#include "engine/clip_header.h"
#include "engine/conversion_result.h"

#include <nlohmann/json.hpp>

#include <optional>
#include <string>

namespace reelcraft {

// Every field of a clip's header, one a line under the clip's path, with the picture rate that
// `frameRate` stands for and, for a clip with sound, the block align and byte rate of its audio.
std::string ClipInfoText(const std::string &path, const ClipHeader &header);

// The same as a JSON object: "path" (and "pathBytes": see WithPathFields), the fields under the
// same names with the values as stored, "picturesPerSecond" and "durationSeconds" (null for a
// `frameRate` of 0).
nlohmann::ordered_json ClipInfoJson(const std::string &path, const ClipHeader &header);

// What a salvage would recover, as `ScanClip` found it: under the header's fields in the text,
// "picturesRecovered" and "damagedStretches" ([{"begin", "end"}], bytes of the clip) in JSON,
// with "picturesLeftOut", "picturesForeign", "headerGuessed", "headerDisagrees" and
// "cutShortAt" (null when whole).
std::string SalvageScanText(const ConversionResult &scan);
void AddSalvageScan(nlohmann::ordered_json &info, const ConversionResult &scan);

// Walks the clip as a salvage would, writing nothing; messages of a clip that cannot be read go
// to `messages`.
// `like`: the header that stands in for one that cannot be read.
ConversionResult ScanClip(const std::string &path, MessageSink &messages,
                          const std::optional<ClipHeader> &like = std::nullopt);

} // namespace reelcraft
