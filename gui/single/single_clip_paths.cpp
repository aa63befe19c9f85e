// SPDX-License-Identifier: MIT
#include "gui/single/single_clip_paths.h"

namespace reelcraft {

std::optional<std::string> TargetFolderOf(const std::string &targetPath) {
  size_t slash = targetPath.rfind('/');
  if (slash == std::string::npos)
    return std::nullopt;
  return slash == 0 ? "/" : targetPath.substr(0, slash);
}

std::string RetargetToFolder(const std::string &targetPath, const std::string &folder) {
  size_t slash = targetPath.rfind('/');
  std::string filePart = slash == std::string::npos ? "/" + targetPath : targetPath.substr(slash);
  std::string path = folder;
  while (!path.empty() && path.back() == '/')
    path.pop_back();
  return path + filePart;
}

} // namespace reelcraft
