// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>

namespace reelcraft {

// Sets (or, with nothing, clears) the default application of a MIME type in the
// [Default Applications] group of a mimeapps.list text, keeping every other line. Clearing
// removes the entry only while it still names `desktopId`, so a user's own choice stays.
std::string SetDefaultApplication(const std::string &list, const std::string &mimeType,
                                  const std::string &desktopId, bool makeDefault);

} // namespace reelcraft
