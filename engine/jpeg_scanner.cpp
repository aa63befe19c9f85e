#include "engine/jpeg_scanner.h"

#include <cstring>
#include <new>

namespace reelcraft {

namespace {
constexpr uint8_t kMarkerPrefix = 0xFF;
constexpr uint8_t kStartOfImage = 0xD8;
constexpr uint8_t kEndOfImage = 0xD9;
constexpr uint8_t kTablesBegin = 0xDB;
constexpr uint8_t kTablesEnd = 0xDD;
} // namespace

std::optional<PictureExtent> LocateJpegPicture(const uint8_t *bytes, size_t length) {
  if (length < 2)
    return std::nullopt;
  // Only an FF whose partner lies inside the stretch can be a marker; everything between
  // FF bytes is skipped, so jump from one FF to the next.
  const uint8_t *last = bytes + length - 1;
  bool started = false;
  bool inTables = false;
  size_t start = 0;
  for (const uint8_t *at = bytes; at < last; ++at) {
    at = static_cast<const uint8_t *>(std::memchr(at, kMarkerPrefix, size_t(last - at)));
    if (!at)
      break;
    uint8_t marker = at[1];
    if (started && marker == kTablesBegin)
      inTables = true;
    else if (started && marker == kTablesEnd)
      inTables = false;
    if (inTables)
      continue;
    size_t offset = size_t(at - bytes);
    if (marker == kStartOfImage) {
      if (started)
        return std::nullopt;
      started = true;
      start = offset;
    } else if (marker == kEndOfImage && started) {
      return PictureExtent{start, offset + 2 - start};
    }
  }
  return std::nullopt;
}

bool FindJpegPicture(const uint8_t *bytes, size_t length, JpegPicture &picture,
                     size_t &pictureStart, size_t &pictureLength) {
  auto extent = LocateJpegPicture(bytes, length);
  if (!extent)
    return false;
  try {
    picture.assign(bytes + extent->start, bytes + extent->start + extent->length);
  } catch (const std::bad_alloc &) {
    return false;
  }
  pictureStart = extent->start;
  pictureLength = extent->length;
  return true;
}

} // namespace reelcraft
