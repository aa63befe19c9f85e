// SPDX-License-Identifier: MIT
#include "sys/file_system.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace reelcraft {

bool PathExists(const std::string &path) { return access(path.c_str(), F_OK) == 0; }

bool IsFolder(const std::string &path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool CreateFolder(const std::string &path) { return mkdir(path.c_str(), 0777) == 0; }

bool RenamePath(const std::string &from, const std::string &to) {
  return std::rename(from.c_str(), to.c_str()) == 0;
}

bool RenameWithoutReplacing(const std::string &from, const std::string &to) {
  if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
    return true;
  if (errno != EINVAL && errno != ENOSYS)
    return false;
  // A file system without the no-replace rename: a hard link fails on an existing name too.
  if (link(from.c_str(), to.c_str()) == 0)
    return unlink(from.c_str()) == 0;
  if (errno == EEXIST)
    return false;
  // Nor links (FAT, exFAT): the name is taken by a new empty file of ours, which then only
  // this rename replaces.
  int placeholder = open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (placeholder < 0)
    return false;
  close(placeholder);
  if (std::rename(from.c_str(), to.c_str()) == 0)
    return true;
  int error = errno;
  unlink(to.c_str());
  errno = error;
  return false;
}

bool DeletePath(const std::string &path) { return unlink(path.c_str()) == 0; }

std::string ParentFolder(const std::string &path) {
  size_t slash = path.find_last_of('/');
  if (slash == std::string::npos)
    return std::string();
  return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string FileName(const std::string &path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace reelcraft
