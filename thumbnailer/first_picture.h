// SPDX-License-Identifier: MIT
#pragma once

#include "sys/message_sink.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace reelcraft {

// The first picture of the clip at `path`, found as a conversion finds it: the header read and
// checked by the engine's rules, then the picture scanner over the first window of the picture
// stream (the picture blocks alone, in a clip with sound). Reads little more than that window.
// Nothing, after a message through `messages`, when the clip has no whole first picture.
std::optional<std::vector<uint8_t>> ReadFirstPicture(const std::string &path,
                                                     MessageSink &messages);

} // namespace reelcraft
