// SPDX-License-Identifier: MIT
#include "cli/clip_search.h"

#include "cli/folder_search.h"
#include "sys/error_text.h"
#include "sys/paths.h"

namespace reelcraft {

std::string PathLengthRefusal(const std::string &path) {
  constexpr size_t kLongest = kLongestPath;
  if (path.size() <= kLongest)
    return {};
  return "is longer than the " + std::to_string(kLongest) + " bytes a path may have";
}

std::vector<FoundClip> FindClips(const std::vector<std::string> &arguments, bool recursive) {
  std::vector<FoundClip> found;
  for (const std::string &argument : arguments) {
    EntryKind kind = KindOf(argument);
    if (kind != EntryKind::Folder && kind != EntryKind::FolderLink) {
      found.push_back({argument, std::nullopt, PathLengthRefusal(argument)});
    } else if (!recursive) {
      found.push_back({argument, std::nullopt, "is a folder (use -r to convert the clips in it)"});
    } else {
      SearchFolder(found, argument);
    }
  }
  return found;
}

} // namespace reelcraft
