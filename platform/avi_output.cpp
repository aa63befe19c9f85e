#include "platform/avi_output.h"

#include "platform/avi_layout.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
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
  auto *bytes = static_cast<const uint8_t *>(data);
  while (size > 0 && !failed()) {
    size_t n = std::min(size, Room());
    std::memcpy(buffer_.get() + used_, bytes, n);
    Took(n);
    bytes += n;
    size -= n;
  }
}

void AviOutput::AppendZeros(size_t count) {
  while (count > 0 && !failed()) {
    size_t n = std::min(count, Room());
    std::memset(buffer_.get() + used_, 0, n);
    Took(n);
    count -= n;
  }
}

bool AviOutput::AppendFrom(size_t size, const AviChunkSource &source) {
  while (size > 0 && !failed()) {
    size_t n = std::min(size, Room());
    if (!source(buffer_.get() + used_, n))
      return false;
    Took(n);
    size -= n;
  }
  return !failed();
}

// The buffer ends where the file's next whole buffer begins, so that it goes out in large
// writes that the page cache keeps in large pieces, which are cheaper to make and to free.
size_t AviOutput::Room() const { return kBufferSize - (bufferStart_ % kBufferSize) - used_; }

void AviOutput::Took(size_t count) {
  used_ += count;
  if (Room() == 0)
    Flush();
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
  if (!failed() && ::ftruncate(fd_, off_t(position())) != 0)
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

void AviOutput::WriteOut(uint64_t position, const uint8_t *data, size_t size) {
  while (size > 0 && !failed()) {
    ssize_t n = ::pwrite(fd_, data, size, off_t(position));
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
