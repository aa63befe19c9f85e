// SPDX-License-Identifier: MIT
#include "gui/batch/folder_listing.h"

#include "gui/batch/batch_paths.h"
#include "sys/error_text.h"
#include "sys/translation.h"

namespace reelcraft {

FolderListing ListFolder(const std::string &folderText, const std::string &pattern,
                         const DirectoryReader &reader) {
  std::string folder = WithTrailingSeparator(folderText);
  DirectorySearch search = SearchDirectory(folder, pattern, reader);
  FolderListing listing;
  listing.found = search.started;
  for (const std::string &name : search.names)
    listing.entries.push_back(folder + name);
  if (search.error != 0) {
    std::string text;
    SystemErrorText(uint32_t(search.error), text);
    listing.failure = Translate("BatchDialog", "Failed to find next file.\n") + text;
  }
  return listing;
}

} // namespace reelcraft
