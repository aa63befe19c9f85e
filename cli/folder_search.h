// SPDX-License-Identifier: MIT
#pragma once

// The system's side of FindClips: what a command-line argument is, and the walk below a folder.

#include "cli/clip_search.h"

#include <string>
#include <vector>

namespace reelcraft {

enum class EntryKind { Missing, Folder, FolderLink, Other };

// What `path` names, a link to a folder told apart from the folder itself.
EntryKind KindOf(const std::string &path);

// Adds the clips below the folder `root`, and every entry that cannot be examined, to `found`
// (see FindClips).
void SearchFolder(std::vector<FoundClip> &found, const std::string &root);

} // namespace reelcraft
