// SPDX-License-Identifier: MIT
#pragma once

#include "sys/message_sink.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace reelcraft {

// The fixed header at the start of every clip: the magic "QVAV01", three bytes nobody reads,
// then the fields below, big-endian.
constexpr size_t kClipHeaderSize = 35;
constexpr char kClipMagic[] = "QVAV01";
constexpr size_t kClipMagicSize = sizeof kClipMagic - 1;

struct ClipHeader {
  uint16_t dataOffset = 0;   // where the data area begins in the file
  uint32_t dataSize = 0;     // length of the data area (of its picture stream, with sound)
  uint16_t width = 0;        // pixels
  uint16_t height = 0;       // pixels
  uint16_t frameCount = 0;   // pictures in the clip
  uint16_t frameRate = 0;    // twice the pictures per second
  uint16_t spare = 0;        // unused
  uint32_t audioPresent = 0; // non-zero: audio blocks are interleaved with picture blocks
  uint16_t sampleRate = 0;
  uint16_t channels = 0;
  uint16_t bitsPerSample = 0;
};

// Why a header could not be read.
enum class HeaderFault { None, Unopened, Unreadable, TooShort, Unrecognised };

// As ReadClipHeader, giving the message (empty when read) instead of showing it, and the
// system's error code of a clip that could not be opened or read.
HeaderFault ReadClipHeaderQuietly(const std::string &path, ClipHeader &header, std::string &message,
                                  int *systemError = nullptr);

// Reads and checks the header of the clip at `path`. On failure the reason has been shown
// through `messages` and `header` is not to be used.
bool ReadClipHeader(const std::string &path, ClipHeader &header, MessageSink &messages);

// Checks and decodes a header from the first `size` bytes of a clip, by the rules of
// ReadClipHeader, for a reader that has the bytes without the file.
bool DecodeClipHeader(const uint8_t *bytes, size_t size, ClipHeader &header, MessageSink &messages);

} // namespace reelcraft
