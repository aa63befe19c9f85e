// SPDX-License-Identifier: MIT
#include "engine/sound_grid.h"

#include "engine/clip_blocks.h"
#include "sys/raw_file.h"
#include "sys/translation.h"

#include <algorithm>
#include <array>
#include <memory>

namespace reelcraft {

namespace {

// Enough of a clip to hold many sound blocks, little enough to read in a blink.
constexpr size_t kLookedAt = size_t(4) << 20;
// Fewer marked blocks than this could be picture bytes that chance made FF FF.
constexpr size_t kFewestBlocks = 3;

// How many blocks begin with the sound mark on each grid, by the grid's offset modulo 512.
std::array<size_t, kClipBlockSize> MarksByGrid(const std::string &clipPath) {
  std::array<size_t, kClipBlockSize> marks{};
  RawFile file;
  if (!file.OpenForReading(FileRef(clipPath)))
    return marks;
  auto bytes = std::make_unique<uint8_t[]>(kLookedAt);
  size_t size = file.Read(bytes.get(), kLookedAt);
  for (size_t at = kClipHeaderSize; at + 3 <= size; ++at)
    if (IsAudioBlock(bytes.get() + at, size - at))
      ++marks[at % kClipBlockSize];
  return marks;
}

bool PlausibleSound(const ClipHeader &header) {
  return header.sampleRate != 0 && header.channels != 0 &&
         (header.bitsPerSample == 8 || header.bitsPerSample == 16);
}

} // namespace

std::vector<std::string> FollowSoundGrid(const std::string &clipPath, ClipHeader &header) {
  std::array<size_t, kClipBlockSize> marks = MarksByGrid(clipPath);
  size_t own = header.dataOffset % kClipBlockSize;
  std::vector<std::string> notes;
  if (header.audioPresent == 0) {
    // Only the header's own grid: sound where the header puts none is told by its marks alone.
    if (marks[own] < kFewestBlocks || !PlausibleSound(header))
      return notes;
    header.audioPresent = 1;
    notes.push_back(
        FillIn(Translate("Conversion", "the header names no sound; %1 sound blocks found"),
               {std::to_string(marks[own])}));
    return notes;
  }
  auto best = std::max_element(marks.begin(), marks.end());
  size_t grid = size_t(best - marks.begin());
  if (marks[own] >= kFewestBlocks || *best < kFewestBlocks)
    return notes;
  // The data area begins where the sound blocks' grid does, past the header.
  size_t offset = grid;
  while (offset < kClipHeaderSize)
    offset += kClipBlockSize;
  notes.push_back(
      FillIn(Translate("Conversion",
                       "the header's dataOffset is %1; the sound blocks lie on the grid from %2"),
             {std::to_string(header.dataOffset), std::to_string(offset)}));
  header.dataOffset = uint16_t(offset);
  return notes;
}

} // namespace reelcraft
