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

// What the markers of a picture say about it.
struct JpegStructure {
  JpegShape shape = JpegShape::Broken;
  size_t length = 0; // whole: the bytes through the end marker
  // The frame header: its marker's code (C0 baseline, C1 extended sequential, C2 progressive,
  // ...), sample precision, size and components.
  uint8_t frameCode = 0;
  uint8_t precision = 0;
  uint16_t width = 0;
  uint16_t height = 0;
  uint8_t components = 0;
  unsigned scans = 0;
  uint8_t firstScanComponents = 0;
  size_t firstScanData = 0; // where the first scan's entropy-coded data begins
};

// Whether the bytes from `bytes[0]` on, which begin with a start marker, form one structurally
// whole JPEG picture: a chain of marker segments whose lengths fit one another, one frame header
// before the first scan, entropy-coded data holding only stuffed bytes and restart markers in
// their order, and the end marker. Only the structure is checked; the decoder judges the data.
JpegStructure ReadJpegStructure(const uint8_t *bytes, size_t length);

} // namespace reelcraft
