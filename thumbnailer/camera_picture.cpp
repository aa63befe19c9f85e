// SPDX-License-Identifier: MIT
#include "thumbnailer/camera_picture.h"

#include "engine/jpeg_markers.h"
#include "engine/jpeg_structure.h"

namespace reelcraft {

namespace {

using jpeg::kBaselineFrame;
using jpeg::kExtendedSequentialFrame;

const char *const kDamaged = "The first picture cannot be decoded";
const char *const kNotCameraLayout =
    "The first picture is not a baseline JPEG picture of one scan, as cameras write";
const char *const kTooLarge = "The first picture is larger than 8192 pixels on a side";

} // namespace

std::optional<PictureSize> CameraPictureSize(const std::vector<uint8_t> &picture,
                                             std::string &refusal) {
  auto refuse = [&refusal](const char *why) {
    refusal = why;
    return std::nullopt;
  };
  JpegStructure structure = ReadJpegStructure(picture.data(), picture.size());
  if (structure.shape != JpegShape::Whole || structure.length != picture.size())
    return refuse(kDamaged);
  if ((structure.frameCode != kBaselineFrame && structure.frameCode != kExtendedSequentialFrame) ||
      structure.precision != 8 || (structure.components != 1 && structure.components != 3) ||
      structure.scans != 1 || structure.firstScanComponents != structure.components)
    return refuse(kNotCameraLayout);
  if (structure.height == 0 || structure.width > kLargestPictureSide ||
      structure.height > kLargestPictureSide)
    return refuse(kTooLarge);
  return PictureSize{structure.width, structure.height};
}

} // namespace reelcraft
