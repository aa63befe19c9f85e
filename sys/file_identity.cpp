// SPDX-License-Identifier: MIT
#include "sys/file_identity.h"

#include "sys/file_system.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace reelcraft {

namespace {

FileIdentity IdentityOf(const struct stat &info) {
  return {uint64_t(info.st_dev), uint64_t(info.st_ino)};
}

bool FlushDescriptor(int fd) {
  bool flushed = fd >= 0 && ::fsync(fd) == 0;
  if (fd >= 0)
    ::close(fd);
  return flushed;
}

} // namespace

std::optional<FileIdentity> IdentityOf(int fd) {
  struct stat info;
  if (::fstat(fd, &info) != 0)
    return std::nullopt;
  return IdentityOf(info);
}

std::optional<FileIdentity> IdentityOfPath(const std::string &path) {
  struct stat info;
  if (::stat(path.empty() ? "." : path.c_str(), &info) != 0)
    return std::nullopt;
  return IdentityOf(info);
}

std::string OpenablePath(const FileRef &file) {
  return file.descriptor >= 0 ? DescriptorPath(file.descriptor) : file.path;
}

std::string DescriptorPath(int fd) { return "/proc/self/fd/" + std::to_string(fd); }

int OpenFileRef(const FileRef &file, int flags, unsigned mode) {
  std::string path = file.path;
  if (file.descriptor >= 0) {
    // The process's own link to the file, which no one else can swap: followed.
    path = DescriptorPath(file.descriptor);
    flags &= ~O_CREAT;
  } else if (file.identity) {
    flags = (flags & ~O_CREAT) | O_NOFOLLOW;
  }
  int fd;
  do {
    fd = ::open(path.c_str(), flags | O_CLOEXEC, mode_t(mode));
  } while (fd < 0 && errno == EINTR);
  if (fd < 0 || !file.identity)
    return fd;
  if (IdentityOf(fd) != file.identity) {
    ::close(fd);
    errno = EPERM;
    return -1;
  }
  return fd;
}

bool StillSameFile(const FileRef &file) {
  if (file.descriptor >= 0)
    return file.identity && IdentityOf(file.descriptor) == file.identity;
  struct stat info;
  return file.identity && ::lstat(file.path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
         IdentityOf(info) == *file.identity;
}

std::optional<timespec> ModificationTime(const std::string &path) {
  struct stat info;
  if (::stat(path.c_str(), &info) != 0)
    return std::nullopt;
  return info.st_mtim;
}

bool SetModificationTime(const FileRef &file, const timespec &time) {
  int fd = OpenFileRef(file, O_RDONLY);
  if (fd < 0)
    return false;
  // Both at once: some exFAT drivers drop a modification time that comes alone.
  const timespec times[2] = {time, time};
  bool set = ::futimens(fd, times) == 0;
  ::close(fd);
  return set;
}

bool FlushToDisk(const FileRef &file) {
  if (!FlushDescriptor(OpenFileRef(file, O_RDONLY)))
    return false;
  std::string folder = ParentFolder(file.path);
  return FlushDescriptor(
      ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

} // namespace reelcraft
