// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace reelcraft {

// A clip named on the command line or found below a folder that was.
struct FoundClip {
  std::string clip;
  // For a clip found below a folder argument: its folder relative to that argument ("" right
  // in it), to be mirrored below an output folder.
  std::optional<std::string> subfolder;
  std::string refusal; // why it is skipped, to follow "PATH: "; empty when it is to be taken
};

// The clips of the command line's `arguments` in their order. With `recursive`, a folder stands
// for the files below it whose names end in ".qvj" in any letter case, in name order, folder by
// folder, however deep; links to folders are not followed, nor are hidden folders below
// the ones given (names that begin with ".", such as a card's ".Trash-1000"). Without it, a folder
// is refused with a word on -r; and so is every entry below that cannot be examined or read, and
// every clip whose path is too long to be opened, so that no clip is left out unsaid.
std::vector<FoundClip> FindClips(const std::vector<std::string> &arguments, bool recursive);

// Why `path` cannot be used at all, to follow it: it is longer than the system takes
// (PATH_MAX). Empty for a path that fits.
std::string PathLengthRefusal(const std::string &path);

} // namespace reelcraft
