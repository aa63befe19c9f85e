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

} // namespace reelcraft
