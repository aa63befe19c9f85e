// SPDX-License-Identifier: MIT
#pragma once

#include "avi/avi_file.h"
#include "sys/file_io.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace reelcraft::avi {

// An open file written mostly at its end through one large buffer, with the occasional write
// back into what is already there (sizes and headers). Large data can be appended in place: it
// is written from where it is, together with what the buffer holds, in vectored writes. The first
// failure sticks: every later operation does nothing, failed() stays true and error() keeps the
// system's error code.
class AviOutput {
public:
  static constexpr size_t kBufferSize = size_t(1) << 20;

  // Takes ownership of `fd`; appending goes on at `position`.
  AviOutput(int fd, uint64_t position);
  ~AviOutput();
  AviOutput(const AviOutput &) = delete;
  AviOutput &operator=(const AviOutput &) = delete;

  uint64_t position() const { return bufferStart_ + pendingBytes_; }
  bool failed() const { return error_ != 0; }
  int error() const { return error_; }

  void Append(const void *data, size_t size);
  // Appends `size` bytes that are written from where they are: they must stay as they are until
  // the next Flush, WriteAt, Rewind or Close.
  void AppendInPlace(const void *data, size_t size);
  void AppendZeros(size_t count);
  // Appends `size` bytes that `source` puts straight into the buffer; false when the source
  // failed or the file did.
  bool AppendFrom(size_t size, const AviChunkSource &source);
  // Forgets what was appended from `position` on.
  void Rewind(uint64_t position);
  void WriteAt(uint64_t position, const void *data, size_t size);
  void WriteU32At(uint64_t position, uint32_t value);
  // Writes what is buffered, cuts the file at the append position and closes it.
  bool Close();
  // Writes all that was appended, in place or not.
  void Flush();

private:
  void AddPending(const uint8_t *data, size_t size);
  void WriteOut(uint64_t position, const uint8_t *data, size_t size);
  void Fail(int error);

  int fd_;
  std::unique_ptr<uint8_t[]> buffer_;
  uint64_t bufferStart_; // where the first pending byte goes
  size_t used_ = 0;      // of the buffer
  // Every byte appended since the last flush, in order: pieces of the buffer and data in place.
  std::vector<IoSlice> pending_;
  size_t pendingBytes_ = 0;
  int error_ = 0;
};

} // namespace reelcraft::avi
