#include "sys/raw_output_file.h"

#include "sys/rewrite_open.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace reelcraft {

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

} // namespace reelcraft
