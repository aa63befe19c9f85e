// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>

namespace reelcraft {

enum class JpegShape {
  Whole,     // one picture whose markers all hold, through its end marker
  Broken,    // something no encoder writes: a damaged picture, or no picture at all
  Truncated, // whole so far, but the bytes end before the picture does
};

// Whether the bytes from `bytes[0]` on, which begin with a start marker, form one structurally
// whole JPEG picture: a chain of marker segments whose lengths fit one another, a frame header
// before the first scan, entropy-coded data holding only stuffed bytes and restart markers in
// their order, and the end marker. Only the structure is checked; the decoder judges the data.
// `pictureLength` is set for a whole picture: the bytes through the end marker.
JpegShape CheckJpegStructure(const uint8_t *bytes, size_t length, size_t &pictureLength);

} // namespace reelcraft
