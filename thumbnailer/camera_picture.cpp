// SPDX-License-Identifier: MIT
#include "thumbnailer/camera_picture.h"

namespace reelcraft {

namespace {

constexpr uint8_t kMarkerPrefix = 0xFF;
constexpr uint8_t kStartOfImage = 0xD8;
constexpr uint8_t kEndOfImage = 0xD9;
constexpr uint8_t kBaselineFrame = 0xC0;
constexpr uint8_t kExtendedSequentialFrame = 0xC1;
constexpr uint8_t kHuffmanTables = 0xC4;
constexpr uint8_t kQuantisationTables = 0xDB;
constexpr uint8_t kRestartInterval = 0xDD;
constexpr uint8_t kStartOfScan = 0xDA;
constexpr uint8_t kComment = 0xFE;

const char *const kDamaged = "The first picture cannot be decoded";
const char *const kNotCameraLayout =
    "The first picture is not a baseline JPEG picture of one scan, as cameras write";
const char *const kTooLarge = "The first picture is larger than 8192 pixels on a side";

bool IsFrame(uint8_t marker) {
  return marker >= 0xC0 && marker <= 0xCF && marker != kHuffmanTables && marker != 0xC8 &&
         marker != 0xCC;
}

// Segments that only carry tables, application data or notes.
bool IsTablesOrData(uint8_t marker) {
  return marker == kHuffmanTables || marker == kQuantisationTables || marker == kRestartInterval ||
         (marker >= 0xE0 && marker <= 0xEF) || marker == kComment;
}

unsigned BigEndian16(const uint8_t *at) { return unsigned(at[0]) << 8 | at[1]; }

// Where the scan's coded data ends: the first marker that is neither a stuffed FF 00 nor a
// restart marker.
size_t EndOfScanData(const std::vector<uint8_t> &picture, size_t at) {
  for (; at + 1 < picture.size(); ++at) {
    uint8_t next = picture[at + 1];
    if (picture[at] == kMarkerPrefix && next != 0 && next != kMarkerPrefix &&
        (next < 0xD0 || next > 0xD7))
      return at;
  }
  return picture.size();
}

} // namespace

std::optional<PictureSize> CameraPictureSize(const std::vector<uint8_t> &picture,
                                             std::string &refusal) {
  auto refuse = [&refusal](const char *why) {
    refusal = why;
    return std::nullopt;
  };
  if (picture.size() < 4 || picture[0] != kMarkerPrefix || picture[1] != kStartOfImage)
    return refuse(kDamaged);
  std::optional<PictureSize> size;
  unsigned components = 0;
  size_t at = 2;
  for (;;) {
    if (at + 4 > picture.size() || picture[at] != kMarkerPrefix)
      return refuse(kDamaged);
    uint8_t marker = picture[at + 1];
    size_t length = BigEndian16(&picture[at + 2]);
    if (marker == kMarkerPrefix) { // fill byte
      ++at;
      continue;
    }
    if (!IsFrame(marker) && marker != kStartOfScan && !IsTablesOrData(marker))
      return refuse(marker == kEndOfImage || marker == kStartOfImage ? kDamaged : kNotCameraLayout);
    if (length < 2 || at + 2 + length > picture.size())
      return refuse(kDamaged);
    const uint8_t *segment = &picture[at + 4];
    at += 2 + length;
    if (IsFrame(marker)) {
      if (size || (marker != kBaselineFrame && marker != kExtendedSequentialFrame))
        return refuse(kNotCameraLayout);
      if (length < 8)
        return refuse(kDamaged);
      components = segment[5];
      if (segment[0] != 8 || (components != 1 && components != 3))
        return refuse(kNotCameraLayout);
      size = PictureSize{int(BigEndian16(segment + 3)), int(BigEndian16(segment + 1))};
      if (size->width == 0 || size->height == 0 || size->width > kLargestPictureSide ||
          size->height > kLargestPictureSide)
        return refuse(kTooLarge);
    } else if (marker == kStartOfScan) {
      if (!size || length < 3)
        return refuse(kDamaged);
      if (segment[0] != components)
        return refuse(kNotCameraLayout);
      // The scan must be the picture's last segment.
      at = EndOfScanData(picture, at);
      if (at + 2 != picture.size() || picture[at + 1] != kEndOfImage)
        return refuse(kNotCameraLayout);
      return size;
    }
  }
}

} // namespace reelcraft
