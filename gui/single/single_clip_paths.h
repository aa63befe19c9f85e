// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>

namespace reelcraft {

// The folder in which the folder choice starts: the target's folder ("/" for an entry of the
// root); none for a bare file name, which leaves the choice at the current directory.
std::optional<std::string> TargetFolderOf(const std::string &targetPath);

// The target put into `folder` under its own file name. Trailing '/' of the folder are dropped,
// so the root gives "/name".
std::string RetargetToFolder(const std::string &targetPath, const std::string &folder);

} // namespace reelcraft
