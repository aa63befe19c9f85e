#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace reelcraft {

// One picture's bytes, from the FF of its start marker through the D9 of its end marker.
using JpegPicture = std::vector<uint8_t>;

struct PictureExtent {
  size_t start = 0;  // offset of the picture's first byte in the searched stretch
  size_t length = 0; // bytes through the end marker, both markers included
};

// Where the next complete picture of `bytes` lies, by its markers. Start markers and end
// markers between an FF DB and the next FF DD are table data; a second start marker before
// the end fails the search.
std::optional<PictureExtent> LocateJpegPicture(const uint8_t *bytes, size_t length);

// Copies the next complete picture of `bytes` into `picture`, whose storage is reused from
// call to call. On failure (no picture, or no memory for it) every output is left as it was.
bool FindJpegPicture(const uint8_t *bytes, size_t length, JpegPicture &picture,
                     size_t &pictureStart, size_t &pictureLength);

} // namespace reelcraft
