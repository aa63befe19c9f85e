// SPDX-License-Identifier: MIT
#include "sys/file_system.h"

#include <cerrno>

namespace reelcraft {

bool CreateFolders(const std::string &path) {
  if (path.empty() || IsFolder(path))
    return !path.empty();
  std::string parent = ParentFolder(path);
  if (!parent.empty() && parent != path && !CreateFolders(parent))
    return false;
  if (CreateFolder(path) || (errno == EEXIST && IsFolder(path)))
    return true;
  // A file in the folder's place: the path leads through something that is no folder.
  if (errno == EEXIST)
    errno = ENOTDIR;
  return false;
}

} // namespace reelcraft
