// SPDX-License-Identifier: MIT
// Preloaded into the real programs by the tests to act out what a worn card or another user
// does to them:
//   REELCRAFT_FAIL_READ=N:PATH  reads of the file PATH fail with EIO from byte N on (a bad
//                               sector), after a short read up to it
//   REELCRAFT_SWAP_DIR=FOLDER, REELCRAFT_SWAP_TO=FILE
//                               every file created exclusively in FOLDER is moved aside the
//                               moment it is made, and its name becomes a link to FILE
//   REELCRAFT_NO_UNNAMED=1      files without a name (O_TMPFILE) are refused, as by a file
//                               system that cannot make them
#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

template <typename Function> Function Next(const char *name) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

// The byte from which reads of `fd` fail, or -1 when it is not the failing file.
off_t FailingFrom(int fd) {
  const char *setting = std::getenv("REELCRAFT_FAIL_READ");
  const char *colon = setting ? std::strchr(setting, ':') : nullptr;
  struct stat failing, opened;
  if (!colon || ::stat(colon + 1, &failing) != 0 || ::fstat(fd, &opened) != 0 ||
      failing.st_dev != opened.st_dev || failing.st_ino != opened.st_ino)
    return -1;
  return off_t(std::atoll(setting));
}

void SwapForLink(const char *path) {
  const char *folder = std::getenv("REELCRAFT_SWAP_DIR");
  const char *to = std::getenv("REELCRAFT_SWAP_TO");
  std::string name = path;
  if (!folder || !to || name.rfind(std::string(folder) + "/", 0) != 0)
    return;
  // A swap that cannot be made leaves the file as created: the test then sees no swap.
  if (::rename(path, (name + ".moved").c_str()) == 0 && ::symlink(to, path) != 0)
    ::rename((name + ".moved").c_str(), path);
}

using Open = int (*)(const char *, int, ...);

int OpenAndSwap(Open next, const char *path, int flags, mode_t mode) {
  if ((flags & O_TMPFILE) == O_TMPFILE && std::getenv("REELCRAFT_NO_UNNAMED")) {
    errno = EOPNOTSUPP;
    return -1;
  }
  int fd = next(path, flags, mode);
  if (fd >= 0 && (flags & O_CREAT) && (flags & O_EXCL))
    SwapForLink(path);
  return fd;
}

mode_t ModeArgument(int flags, va_list arguments) {
  bool creates = (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE;
  return creates ? mode_t(va_arg(arguments, unsigned)) : 0;
}

} // namespace

extern "C" ssize_t read(int fd, void *buffer, size_t size) {
  using Read = ssize_t (*)(int, void *, size_t);
  static Read next = Next<Read>("read");
  off_t from = FailingFrom(fd);
  if (from >= 0) {
    off_t at = ::lseek(fd, 0, SEEK_CUR);
    if (at >= from) {
      errno = EIO;
      return -1;
    }
    if (at + off_t(size) > from)
      size = size_t(from - at);
  }
  return next(fd, buffer, size);
}

extern "C" int open(const char *path, int flags, ...) {
  va_list arguments;
  va_start(arguments, flags);
  mode_t mode = ModeArgument(flags, arguments);
  va_end(arguments);
  static Open next = Next<Open>("open");
  return OpenAndSwap(next, path, flags, mode);
}

// The same call under its large-file name (one function on 64-bit systems).
extern "C" int open64(const char *path, int flags, ...) __attribute__((alias("open")));
