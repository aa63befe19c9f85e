// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace reelcraft {

// Moves the file at `path` to the freedesktop.org Trash: the home Trash, or the Trash of the
// file's own volume (".Trash-UID" at its top) where it lies on another one, so that the user
// can take it back. Gives an empty string on success, else the reason no Trash took it.
std::string MoveToTrash(const std::string &path);

} // namespace reelcraft
