// SPDX-License-Identifier: MIT
#include "engine/jpeg_scanner.h"

#include "engine/jpeg_markers.h"

#include <algorithm>
#include <cstring>

namespace reelcraft {

namespace {
using namespace jpeg;
// The scanner's rule calls the stretch from DQT to DRI table data.
constexpr uint8_t kTablesBegin = kQuantisationTables;
constexpr uint8_t kTablesEnd = kRestartInterval;

enum class Verdict { GoOn, Fail, Found };

// The marker rules for one search, fed the byte after every FF in order.
struct MarkerRules {
  bool started = false;
  bool inTables = false;
  size_t start = 0;

  Verdict At(size_t offset, uint8_t marker) {
    if (started && marker == kTablesBegin)
      inTables = true;
    else if (started && marker == kTablesEnd)
      inTables = false;
    if (inTables)
      return Verdict::GoOn;
    if (marker == kStartOfImage) {
      if (started)
        return Verdict::Fail;
      started = true;
      start = offset;
    } else if (marker == kEndOfImage && started) {
      return Verdict::Found;
    }
    return Verdict::GoOn;
  }
};

constexpr size_t kLanes = 16;
using Lanes = uint8_t __attribute__((vector_size(kLanes)));

// Whether one of the kLanes positions from `at` holds FF before a byte from D8 to DF. The
// rules act only on D8, D9, DB and DD after an FF, so other positions can be skipped; stuffed
// FF 00 and restart markers, the FF bytes of picture data, never stop the skip.
bool MayHoldMarker(const uint8_t *at) {
  Lanes here, next;
  std::memcpy(&here, at, kLanes);
  std::memcpy(&next, at + 1, kLanes);
  auto hits = (here == 0xFF) & ((next | 0x07) == 0xDF);
  uint64_t halves[2];
  std::memcpy(halves, &hits, sizeof halves);
  return (halves[0] | halves[1]) != 0;
}
} // namespace

std::optional<PictureExtent> FindJpegPicture(const uint8_t *bytes, size_t length) {
  MarkerRules rules;
  // Only an FF whose partner lies inside the stretch can be a marker.
  size_t at = 0;
  while (at + 1 < length) {
    if (at + kLanes < length && !MayHoldMarker(bytes + at)) {
      at += kLanes;
      continue;
    }
    for (size_t end = std::min(at + kLanes, length - 1); at < end; ++at) {
      if (bytes[at] != kMarkerPrefix)
        continue;
      Verdict verdict = rules.At(at, bytes[at + 1]);
      if (verdict == Verdict::Fail)
        return std::nullopt;
      if (verdict == Verdict::Found)
        return PictureExtent{rules.start, at + 2 - rules.start};
    }
  }
  return std::nullopt;
}

} // namespace reelcraft
