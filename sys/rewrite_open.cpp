#include "sys/rewrite_open.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace reelcraft {

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
