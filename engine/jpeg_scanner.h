// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace reelcraft {

struct PictureExtent {
  size_t start = 0;  // offset of the picture's first byte in the searched stretch
  size_t length = 0; // bytes through the end marker, both markers included
};

// Where the next complete picture of `bytes` lies, by its markers. Start markers and end
// markers between an FF DB and the next FF DD are table data; a second start marker before
// the end fails the search.
std::optional<PictureExtent> FindJpegPicture(const uint8_t *bytes, size_t length);

} // namespace reelcraft
