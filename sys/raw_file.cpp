// SPDX-License-Identifier: MIT
#include "sys/raw_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
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
  struct stat info = {};
  if (fd_ >= 0 && (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode))) {
    error_ = S_ISDIR(info.st_mode) ? EISDIR : ENXIO;
    Close();
  }
  return fd_ >= 0;
}

size_t RawFile::Read(void *buffer, size_t size) {
  auto *out = static_cast<char *>(buffer);
  size_t done = 0;
  while (done < size) {
    ssize_t n = ::read(fd_, out + done, size - done);
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
  if (::lseek(fd_, off_t(offset), SEEK_SET) >= 0)
    return true;
  error_ = errno;
  return false;
}

bool RawFile::Length(uint64_t &length) {
  struct stat info;
  if (::fstat(fd_, &info) != 0) {
    error_ = errno;
    return false;
  }
  length = uint64_t(info.st_size);
  return true;
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
    ssize_t n = ::write(fd_, bytes, size);
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
  struct stat info;
  if (::fstat(fd, &info) != 0 || (info.st_size != 0 && ::ftruncate(fd, 0) != 0)) {
    int error = errno;
    ::close(fd);
    errno = error;
    return -1;
  }
  return fd;
}

} // namespace reelcraft
