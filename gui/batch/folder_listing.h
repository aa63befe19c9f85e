// SPDX-License-Identifier: MIT
#pragma once

#include "sys/directory_search.h"

#include <string>
#include <vector>

namespace reelcraft {

constexpr const char *kClipPattern = "*.qvj";
constexpr const char *kAviPattern = "*.avi";

// What fills a clip or AVI list: one entry per match, the folder text as typed (with its
// separator) followed by the match's name.
struct FolderListing {
  bool found = false; // at least one match: the list's commands are enabled
  std::vector<std::string> entries;
  // "Failed to find next file.\n..." when the folder read stopped early; else empty.
  std::string failure;
};

FolderListing ListFolder(const std::string &folderText, const std::string &pattern,
                         const DirectoryReader &reader = ReadDirectoryEntries);

} // namespace reelcraft
