// SPDX-License-Identifier: MIT
#include "sys/directory_search.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace reelcraft {

namespace {

// Every name in the folder read through `opened` (closed here); none when it is null.
DirectoryEntries ReadEntries(DIR *opened) {
  DirectoryEntries entries;
  std::unique_ptr<DIR, int (*)(DIR *)> dir(opened, closedir);
  if (!dir)
    return entries;
  entries.opened = true;
  for (;;) {
    errno = 0;
    const dirent *entry = readdir(dir.get());
    if (!entry) {
      entries.error = errno;
      return entries;
    }
    entries.names.emplace_back(entry->d_name);
  }
}

} // namespace

DirectoryEntries ReadDirectoryEntries(const std::string &folder) {
  return ReadEntries(opendir(folder.empty() ? "." : folder.c_str()));
}

DirectoryEntries ReadOpenDirectoryEntries(int folder) {
  // A reading of its own, which leaves the caller's descriptor and its position alone.
  int fd = openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  DIR *dir = fd >= 0 ? fdopendir(fd) : nullptr;
  if (fd >= 0 && !dir) {
    int error = errno;
    close(fd);
    errno = error;
  }
  return ReadEntries(dir);
}

} // namespace reelcraft
