// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>

namespace reelcraft {

// The user's documents folder (XDG_DOCUMENTS_DIR of the XDG user directories, else
// $HOME/Documents); nullopt when it cannot be determined.
std::optional<std::string> DocumentsFolder();

} // namespace reelcraft
