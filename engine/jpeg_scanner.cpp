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

// Whether one of the positions of `kVectorsPerStep` Vectors from `at` holds FF before a byte
// from D8 to DF. The rules act only on D8, D9, DB and DD after an FF, so other positions can be
// skipped; stuffed FF 00 and restart markers, the FF bytes of picture data, never stop the skip.
// Several vectors are judged together so that the costly reduction to one answer comes once.
using Lanes16 = uint8_t __attribute__((vector_size(16)));
using Lanes32 = uint8_t __attribute__((vector_size(32)));
constexpr size_t kVectorsPerStep = 4;

template <typename Vector, size_t Lanes = sizeof(Vector)>
[[gnu::always_inline]] inline bool MayHoldMarker(const uint8_t *at) {
  Vector hits{};
  for (size_t i = 0; i < kVectorsPerStep; ++i, at += Lanes) {
    Vector here, next;
    std::memcpy(&here, at, Lanes);
    std::memcpy(&next, at + 1, Lanes);
    hits |= (here == 0xFF) & ((next | 0x07) == 0xDF);
  }
  uint64_t words[Lanes / 8];
  std::memcpy(words, &hits, sizeof words);
  uint64_t any = 0;
  for (uint64_t word : words)
    any |= word;
  return any != 0;
}

template <typename Vector, size_t Step = sizeof(Vector) * kVectorsPerStep>
[[gnu::always_inline]] inline std::optional<PictureExtent> Find(const uint8_t *bytes,
                                                                size_t length) {
  MarkerRules rules;
  // Only an FF whose partner lies inside the stretch can be a marker.
  size_t at = 0;
  while (at + 1 < length) {
    if (at + Step < length && !MayHoldMarker<Vector>(bytes + at)) {
      at += Step;
      continue;
    }
    for (size_t end = std::min(at + Step, length - 1); at < end; ++at) {
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

#if defined(__x86_64__) || defined(__i386__)
// The skip over picture data is what a conversion spends its own time on: twice the lanes
// where the processor has them.
[[gnu::target("avx2")]] std::optional<PictureExtent> FindWide(const uint8_t *bytes, size_t length) {
  return Find<Lanes32>(bytes, length);
}
#endif
} // namespace

std::optional<PictureExtent> FindJpegPicture(const uint8_t *bytes, size_t length) {
#if defined(__x86_64__) || defined(__i386__)
  if (__builtin_cpu_supports("avx2"))
    return FindWide(bytes, length);
#endif
  return Find<Lanes16>(bytes, length);
}

} // namespace reelcraft
