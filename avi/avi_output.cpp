// SPDX-License-Identifier: MIT
#include "avi/avi_output.h"

#include "avi/avi_layout.h"
#include "sys/file_io.h"
#include "sys/raw_file.h"

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

namespace {

// Enough for the chunks of a piece of small pictures, with their headers.
constexpr size_t kMostSegmentsAtOnce = 64;
// Data in place waits for no more than this before it goes out.
constexpr size_t kMostPending = AviOutput::kBufferSize;

} // namespace

// Adds bytes to the pending sequence; bytes of the buffer that follow the last ones join them.
void AviOutput::AddPending(const uint8_t *data, size_t size) {
  bool ofTheBuffer = data >= buffer_.get() && data < buffer_.get() + kBufferSize;
  if (ofTheBuffer && !pending_.empty()) {
    IoSlice &last = pending_.back();
    if (static_cast<uint8_t *>(last.iov_base) + last.iov_len == data) {
      last.iov_len += size;
      pendingBytes_ += size;
      return;
    }
  }
  pending_.push_back({const_cast<uint8_t *>(data), size});
  pendingBytes_ += size;
}

void AviOutput::Append(const void *data, size_t size) {
  // An empty chunk (a dropped frame) may come without data at all.
  if (failed() || size == 0)
    return;
  if (used_ + size > kBufferSize || size >= kBufferSize)
    Flush();
  if (size >= kBufferSize) {
    WriteOut(bufferStart_, static_cast<const uint8_t *>(data), size);
    bufferStart_ += size;
    return;
  }
  std::memcpy(buffer_.get() + used_, data, size);
  AddPending(buffer_.get() + used_, size);
  used_ += size;
}

void AviOutput::AppendInPlace(const void *data, size_t size) {
  if (failed() || size == 0)
    return;
  AddPending(static_cast<const uint8_t *>(data), size);
  if (pending_.size() >= kMostSegmentsAtOnce * 4 || pendingBytes_ >= kMostPending)
    Flush();
}

void AviOutput::AppendZeros(size_t count) {
  while (count > 0 && !failed()) {
    if (used_ == kBufferSize)
      Flush();
    size_t n = std::min(count, kBufferSize - used_);
    std::memset(buffer_.get() + used_, 0, n);
    AddPending(buffer_.get() + used_, n);
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
    AddPending(buffer_.get() + used_, n);
    used_ += n;
    size -= n;
  }
  return !failed();
}

void AviOutput::Rewind(uint64_t position) {
  if (position < bufferStart_) {
    // Bytes already on disk are overwritten by what follows or cut off by Close.
    bufferStart_ = position;
    pending_.clear();
    pendingBytes_ = used_ = 0;
    return;
  }
  size_t keep = size_t(position - bufferStart_);
  while (pendingBytes_ > keep) {
    IoSlice &last = pending_.back();
    size_t cut = std::min(last.iov_len, pendingBytes_ - keep);
    last.iov_len -= cut;
    pendingBytes_ -= cut;
    if (last.iov_len == 0)
      pending_.pop_back();
  }
  // The buffer is used up to the end of the last of its pieces still pending.
  used_ = 0;
  for (const IoSlice &segment : pending_) {
    auto *base = static_cast<uint8_t *>(segment.iov_base);
    if (base >= buffer_.get() && base < buffer_.get() + kBufferSize)
      used_ = size_t(base - buffer_.get()) + segment.iov_len;
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
  uint64_t length = 0;
  if (!failed() && (!FileLength(fd_, length) || (length > position() && !CutFile(fd_, position()))))
    Fail(errno);
  if (::close(fd_) != 0)
    Fail(errno);
  fd_ = -1;
  return !failed();
}

// Each write ends at a multiple of kIoPieceSize where it can, as WriteOut's do.
void AviOutput::Flush() {
  size_t next = 0, into = 0; // the first byte not written: its segment and its place in it
  uint64_t position = bufferStart_;
  IoSlice batch[kMostSegmentsAtOnce];
  while (next < pending_.size() && !failed()) {
    size_t piece = kIoPieceSize - size_t(position % kIoPieceSize);
    int count = 0;
    size_t bytes = 0;
    for (size_t i = next, at = into;
         i < pending_.size() && bytes < piece && count < int(kMostSegmentsAtOnce); ++i, at = 0) {
      size_t take = std::min(pending_[i].iov_len - at, piece - bytes);
      batch[count++] = {static_cast<uint8_t *>(pending_[i].iov_base) + at, take};
      bytes += take;
    }
    long long n = WriteSlicesAt(fd_, batch, count, position);
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0) {
      // A write that takes nothing without an error is a full disk by another name.
      Fail(n < 0 ? errno : ENOSPC);
      break;
    }
    position += uint64_t(n);
    for (size_t left = size_t(n); left > 0;) {
      size_t take = std::min(left, pending_[next].iov_len - into);
      left -= take;
      into += take;
      if (into == pending_[next].iov_len) {
        ++next;
        into = 0;
      }
    }
  }
  bufferStart_ += pendingBytes_;
  pending_.clear();
  pendingBytes_ = used_ = 0;
}

// Each write ends at a multiple of kIoPieceSize, so that the buffer goes out in whole pieces.
void AviOutput::WriteOut(uint64_t position, const uint8_t *data, size_t size) {
  while (size > 0 && !failed()) {
    size_t piece = std::min(size, kIoPieceSize - position % kIoPieceSize);
    long long n = reelcraft::WriteAt(fd_, data, piece, position);
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
