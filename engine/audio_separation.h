// SPDX-License-Identifier: MIT
#pragma once

#include "engine/conversion_result.h"
#include "engine/interfaces.h"
#include "sys/file_identity.h"
#include "sys/message_sink.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace reelcraft {

constexpr size_t kSeparationChunkSize = 102400;
constexpr size_t kSeparationBlockSize = 512;

// True for a block that holds sound: it begins with the FF FF mark. A block too short to hold
// the third byte that replaces the mark counts as a picture block.
bool IsAudioBlock(const uint8_t *block, size_t size);
// For an audio block, turns its bytes into those of the sound (the mark replaced) and gives
// true; a picture block stays as it is.
bool TakeSoundFromBlock(uint8_t *block, size_t size);

// Where a clip's sound blocks lay among its picture blocks: what ties a picture to its time
// when a damaged stretch has taken the pictures around it, and places in the picture file to
// places in the clip.
struct SoundTimeline {
  uint16_t dataOffset = 0;
  // For every sound block in order, the bytes of the picture stream before it.
  std::vector<uint64_t> pictureBytesBefore;
  uint64_t soundBytes = 0;

  uint64_t SoundBlocksBefore(uint64_t streamOffset) const;
  uint64_t SoundBytesBefore(uint64_t streamOffset) const;
  // The place in the clip of a place in the picture stream.
  uint64_t ClipOffset(uint64_t streamOffset) const;
};

// Splits the clip's data area, from `dataOffset` to the end of the file, block by block: picture
// blocks go unchanged to `pictureFile`, audio blocks to `audioFile` with their mark replaced by
// two copies of their third byte. Both files are created anew. Stops after the chunk in hand
// once `cancelFlag` is set. With `progress`, pumps and steps the bar after every block. False,
// with `result` failed, when a file cannot be opened or the clip read (with its message), or a
// file written (without one; the place and the system's reason are then its cause).
bool SeparateBlocks(const std::string &clipPath, uint16_t dataOffset, const FileRef &pictureFile,
                    const FileRef &audioFile, const ProgressControl *progress,
                    const CancelFlag &cancelFlag, MessageSink &messages, ConversionResult &result,
                    SoundTimeline *timeline = nullptr);

} // namespace reelcraft
