// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace reelcraft {

// Decoders size their buffers by the frame header and pass over the whole picture once for
// every scan, so both are bounded before anything is decoded.
constexpr int kLargestPictureSide = 8192;

struct PictureSize {
  int width = 0;
  int height = 0;
};

// The size of `picture` (one JPEG picture, start to end marker) when it is laid out as cameras
// write it: baseline or extended sequential with 8-bit samples, grey or three components, one
// scan holding them all, at most kLargestPictureSide on a side. Otherwise nothing, and
// `refusal` says why.
std::optional<PictureSize> CameraPictureSize(const std::vector<uint8_t> &picture,
                                             std::string &refusal);

} // namespace reelcraft
