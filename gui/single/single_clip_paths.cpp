// SPDX-License-Identifier: MIT
#include "gui/single/single_clip_paths.h"

#include "sys/file_system.h"

namespace reelcraft {

std::optional<std::string> TargetFolderOf(const std::string &targetPath) {
  if (targetPath.find_last_of(kPathSeparators) == std::string::npos)
    return std::nullopt;
  return ParentFolder(targetPath);
}

std::string RetargetToFolder(const std::string &targetPath, const std::string &folder) {
  size_t slash = targetPath.find_last_of(kPathSeparators);
  std::string filePart =
      slash == std::string::npos ? kPathSeparator + targetPath : targetPath.substr(slash);
  std::string path = folder;
  while (!path.empty() && IsPathSeparator(path.back()))
    path.pop_back();
  return path + filePart;
}

} // namespace reelcraft
