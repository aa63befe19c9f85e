// SPDX-License-Identifier: MIT
#include "avi/avi_output.h"

#include "avi/avi_layout.h"
#include "sys/raw_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace reelcraft::avi {

AviOutput::AviOutput(int fd, uint64_t position)
    : fd_(fd), buffer_(std::make_unique_for_overwrite<uint8_t[]>(kBufferSize)),
      bufferStart_(position) {}

AviOutput::~AviOutput() {
  if (fd_ >= 0)
    ::close(fd_);
}

void AviOutput::Append(const void *data, size_t size) {
  // An empty chunk (a dropped frame) may come without data at all.
  if (failed() || size == 0)
    return;
  if (used_ + size > kBufferSize)
    Flush();
  if (size >= kBufferSize) {
    WriteOut(bufferStart_, static_cast<const uint8_t *>(data), size);
    bufferStart_ += size;
    return;
  }
  std::memcpy(buffer_.get() + used_, data, size);
  used_ += size;
}

void AviOutput::AppendZeros(size_t count) {
  while (count > 0 && !failed()) {
    if (used_ == kBufferSize)
      Flush();
    size_t n = std::min(count, kBufferSize - used_);
    std::memset(buffer_.get() + used_, 0, n);
    used_ += n;
    count -= n;
  }
}

bool AviOutput::AppendFrom(size_t size, const AviChunkSource &source) {
  while (size > 0 && !failed()) {
    if (used_ == kBufferSize)
      Flush();
    size_t n = std::min(size, kBufferSize - used_);
    if (!source(buffer_.get() + used_, n))
      return false;
    used_ += n;
    size -= n;
  }
  return !failed();
}

void AviOutput::Rewind(uint64_t position) {
  if (position >= bufferStart_) {
    used_ = size_t(position - bufferStart_);
  } else {
    // Bytes already on disk are overwritten by what follows or cut off by Close.
    bufferStart_ = position;
    used_ = 0;
  }
}

void AviOutput::WriteAt(uint64_t position, const void *data, size_t size) {
  Flush();
  WriteOut(position, static_cast<const uint8_t *>(data), size);
}

void AviOutput::WriteU32At(uint64_t position, uint32_t value) {
  uint8_t bytes[4];
  PutU32(bytes, value);
  WriteAt(position, bytes, sizeof bytes);
}

bool AviOutput::Close() {
  Flush();
  // Only a longer file is cut: some FUSE file systems refuse every truncation.
  struct stat info;
  if (!failed() && (::fstat(fd_, &info) != 0 || (uint64_t(info.st_size) > position() &&
                                                 ::ftruncate(fd_, off_t(position())) != 0)))
    Fail(errno);
  if (::close(fd_) != 0)
    Fail(errno);
  fd_ = -1;
  return !failed();
}

void AviOutput::Flush() {
  WriteOut(bufferStart_, buffer_.get(), used_);
  bufferStart_ += used_;
  used_ = 0;
}

// Each write ends at a multiple of kIoPieceSize, so that the buffer goes out in whole pieces.
void AviOutput::WriteOut(uint64_t position, const uint8_t *data, size_t size) {
  while (size > 0 && !failed()) {
    size_t piece = std::min(size, kIoPieceSize - position % kIoPieceSize);
    ssize_t n = ::pwrite(fd_, data, piece, off_t(position));
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0) {
      // A write that takes nothing without an error is a full disk by another name.
      Fail(n < 0 ? errno : ENOSPC);
      return;
    }
    data += n;
    size -= size_t(n);
    position += uint64_t(n);
  }
}

void AviOutput::Fail(int error) {
  if (!failed())
    error_ = error != 0 ? error : EIO;
}

} // namespace reelcraft::avi
