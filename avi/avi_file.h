// SPDX-License-Identifier: MIT
#pragma once

#include "sys/file_identity.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace reelcraft {

constexpr uint32_t MakeFourCC(const char (&code)[5]) {
  return uint32_t(uint8_t(code[0])) | uint32_t(uint8_t(code[1])) << 8 |
         uint32_t(uint8_t(code[2])) << 16 | uint32_t(uint8_t(code[3])) << 24;
}

constexpr uint32_t AVIIF_KEYFRAME = 0x10;

struct AviRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
};

// The stream header as the caller describes it (Video for Windows' AVISTREAMINFO).
struct AviStreamInfo {
  uint32_t fccType = 0;
  uint32_t fccHandler = 0;
  uint32_t dwFlags = 0;
  uint32_t dwCaps = 0;
  uint16_t wPriority = 0;
  uint16_t wLanguage = 0;
  uint32_t dwScale = 0;
  uint32_t dwRate = 0;
  uint32_t dwStart = 0;
  uint32_t dwLength = 0;
  uint32_t dwInitialFrames = 0;
  uint32_t dwSuggestedBufferSize = 0;
  uint32_t dwQuality = 0;
  uint32_t dwSampleSize = 0;
  AviRect rcFrame;
  uint32_t dwEditCount = 0;
  uint32_t dwFormatChangeCount = 0;
  std::string szName;
};

struct AviWriterOptions {
  // Past this size a file goes on in OpenDML "AVIX" parts. Tests use a small value.
  uint64_t riffPartLimit = uint64_t(1) << 30;
};

// Fills the next `size` bytes of a chunk; false means the data could not be had.
using AviChunkSource = std::function<bool(void *buffer, size_t size)>;

// A RIFF AVI file being written: streams are added, samples appended, and Release() finishes
// the headers and indexes. A stream may still be added after chunks were written (the header
// keeps room for one more). Not thread-safe; one object per file.
class AviFile {
public:
  virtual ~AviFile() = default;

  // Creates (or replaces) the file. Null when it cannot be created, errno telling why.
  static std::unique_ptr<AviFile> Create(const FileRef &file, const AviWriterOptions &options = {});

  // Returns the new stream's index, or -1.
  virtual int CreateStream(const AviStreamInfo &info) = 0;
  virtual bool SetFormat(int stream, const void *format, size_t size) = 0;
  // Appends one chunk holding `samples` samples that start at sample `start`.
  virtual bool Write(int stream, uint32_t start, uint32_t samples, const void *data, uint32_t size,
                     uint32_t flags) = 0;
  // As Write, with the chunk's bytes written from where they are, later, together with others:
  // they must stay as they are until WriteOutInPlace or Release.
  virtual bool WriteInPlace(int stream, uint32_t start, uint32_t samples, const void *data,
                            uint32_t size, uint32_t flags) = 0;
  // Writes the chunks given in place so far; false once a write of the file has failed.
  virtual bool WriteOutInPlace() = 0;
  // As Write, with the chunk's bytes pulled from `source` through a fixed buffer.
  virtual bool WriteFrom(int stream, uint32_t start, uint32_t samples, uint32_t size,
                         uint32_t flags, const AviChunkSource &source) = 0;
  // Writes headers and indexes and closes the file; false if anything failed on the way.
  // Destroying an unreleased file releases it, ignoring the result.
  virtual bool Release() = 0;
  // The system's error code of the first write of the file that failed; 0 when none did.
  virtual int error() const = 0;
};

} // namespace reelcraft
