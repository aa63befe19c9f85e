// SPDX-License-Identifier: MIT
#include "sys/raw_file.h"

#include "sys/file_io.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace reelcraft {

RawFile::~RawFile() { Close(); }

bool RawFile::OpenForReading(const FileRef &file) {
  Close();
  // Without O_NONBLOCK a FIFO would wait here for a writer.
  fd_ = OpenFileRef(file, O_RDONLY | O_NONBLOCK);
  error_ = fd_ < 0 ? errno : 0;
  // Only a regular file is a clip: a folder holds no bytes, and a FIFO or a device may block
  // every read or never end. Refused as the open itself. O_NONBLOCK does nothing to a regular
  // file, so it stays.
  DescriptorKind kind = DescriptorKind::Other;
  if (fd_ >= 0 && (!KindOfDescriptor(fd_, kind) || kind != DescriptorKind::RegularFile)) {
    error_ = kind == DescriptorKind::Folder ? EISDIR : ENXIO;
    Close();
  }
  return fd_ >= 0;
}

size_t RawFile::Read(void *buffer, size_t size) {
  auto *out = static_cast<char *>(buffer);
  size_t done = 0;
  while (done < size) {
    long long n = ReadSome(fd_, out + done, size - done);
    if (n < 0 && errno == EINTR)
      continue;
    if (n < 0)
      error_ = errno;
    if (n <= 0)
      break;
    done += size_t(n);
  }
  return done;
}

bool RawFile::Seek(uint64_t offset) {
  if (SeekTo(fd_, offset))
    return true;
  error_ = errno;
  return false;
}

bool RawFile::Length(uint64_t &length) {
  if (FileLength(fd_, length))
    return true;
  error_ = errno;
  return false;
}

void RawFile::Close() {
  if (fd_ >= 0)
    ::close(fd_);
  fd_ = -1;
}

RawOutputFile::~RawOutputFile() { Close(); }

bool RawOutputFile::Create(const FileRef &file) {
  Close();
  fd_ = OpenForRewrite(file, O_WRONLY, 0600);
  error_ = fd_ < 0 ? errno : 0;
  return fd_ >= 0;
}

bool RawOutputFile::Write(const void *data, size_t size) {
  auto *bytes = static_cast<const char *>(data);
  while (size > 0) {
    long long n = WriteSome(fd_, bytes, size);
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0) {
      error_ = n < 0 ? errno : EIO;
      return false;
    }
    bytes += n;
    size -= size_t(n);
  }
  return true;
}

bool RawOutputFile::Close() {
  if (fd_ < 0)
    return true;
  bool closed = ::close(fd_) == 0;
  if (!closed)
    error_ = errno;
  fd_ = -1;
  return closed;
}

int OpenForRewrite(const FileRef &file, int accessFlags, mode_t mode) {
  int fd = OpenFileRef(file, accessFlags | O_CREAT, mode);
  if (fd < 0)
    return -1;
  uint64_t length = 0;
  if (!FileLength(fd, length) || (length != 0 && !CutFile(fd, 0))) {
    int error = errno;
    ::close(fd);
    errno = error;
    return -1;
  }
  return fd;
}

} // namespace reelcraft
