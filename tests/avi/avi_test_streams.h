// SPDX-License-Identifier: MIT
#pragma once

// Streams as the converter describes them, and small helpers to write and read back AVI files
// in the writer's tests.

#include "avi/avi_file.h"
#include "tests/support/files.h"

#include <functional>
#include <string>
#include <vector>

namespace reelcraft::test {

AviStreamInfo MjpgStreamInfo(uint32_t rate, int width, int height);
Bytes BitmapInfoHeader(int width, int height);

struct PcmFormat {
  uint16_t channels;
  uint32_t sampleRate;
  uint16_t bitsPerSample;
};
Bytes WaveFormat(const PcmFormat &pcm);
AviStreamInfo PcmStreamInfo(const PcmFormat &pcm, size_t audioBytes);

// `count` real JPEG pictures of a few sizes, odd ones among them.
std::vector<Bytes> Pictures(int count);
// Bytes that look like sound and differ from position to position.
Bytes Sound(size_t size);

// Writes a Motion-JPEG file with every picture as a key frame, then whatever `after` adds
// before the file is finished; false on any failure.
bool WriteMjpgFile(const std::string &path, const std::vector<Bytes> &frames, uint32_t rate,
                   const AviWriterOptions &options = {},
                   const std::function<bool(AviFile &)> &after = nullptr);
// Adds `audio` as a PCM stream in one chunk after what `file` holds; false on any failure.
bool AddPcmStream(AviFile &file, const Bytes &audio, const PcmFormat &pcm);

} // namespace reelcraft::test
