// SPDX-License-Identifier: MIT
#pragma once

#include "tests/support/files.h"
#include "tests/support/tools.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace reelcraft::test {

// Sound for a clip: PCM bytes cut into 512-byte audio blocks (their first two bytes replaced
// by the FF FF mark) and interleaved with the picture stream's blocks.
struct ClipAudio {
  Bytes pcm;
  uint32_t audioPresent = 1;
  uint16_t sampleRate = 8000;
  uint16_t channels = 1;
  uint16_t bitsPerSample = 8;
  int pictureBlocksPerAudioBlock = 2;
  // Which stream's short block ends the file: the other stream is padded with zeros to whole
  // blocks (PCM zeros become part of the expected sound; picture-stream zeros trail it).
  // The short block is held back to the end of the file, however the streams interleave.
  bool endWithAudio = false;
};

struct ClipSpec {
  std::vector<Bytes> pictures;
  std::vector<Bytes> gaps;            // gaps[i] goes before picture i; missing entries are empty
  Bytes trailing;                     // after the last picture
  uint16_t dataOffset = 512;          // the header is padded with zeros up to here (at least 35)
  std::optional<uint16_t> frameCount; // default: the number of pictures
  uint16_t frameRate = 30;
  uint16_t width = 320;
  uint16_t height = 240;
  std::optional<uint32_t> dataSize; // default: the picture stream's exact length
  std::optional<ClipAudio> audio;
};

struct BuiltClip {
  Bytes file;          // the whole clip
  Bytes pictureStream; // gaps, pictures and trailing bytes, joined
  Bytes sound;         // the sound as a converter must deliver it: marks replaced
};

// Throws when the spec cannot be built (a picture block would begin FF FF and pass for audio,
// a data offset inside the header, a final audio block under three bytes).
BuiltClip BuildClip(const ClipSpec &spec);
BuiltClip WriteClip(const std::string &path, const ClipSpec &spec);

// `count` distinct real pictures of the given size.
std::vector<Bytes> MakePictures(int count, int width = 320, int height = 240, int firstSeed = 1);

// The 35 header bytes alone, as BuildClip writes them.
Bytes ClipHeaderBytes(const ClipSpec &spec, uint32_t dataSize);

} // namespace reelcraft::test
