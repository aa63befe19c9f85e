#include "platform/raw_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace reelcraft {

RawFile::~RawFile() { Close(); }

bool RawFile::OpenForReading(const FileRef &file) {
  Close();
  fd_ = OpenFileRef(file, O_RDONLY);
  error_ = fd_ < 0 ? errno : 0;
  // A folder opens here but holds no bytes to read; refuse it as the open itself.
  struct stat info;
  if (fd_ >= 0 && ::fstat(fd_, &info) == 0 && S_ISDIR(info.st_mode)) {
    Close();
    error_ = EISDIR;
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
