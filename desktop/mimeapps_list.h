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

// The same on the user's own list, $XDG_CONFIG_HOME/mimeapps.list, written only when it changes.
// A list that clearing leaves with no entry at all is removed, as it was most likely made for
// the entry. False when the list could not be written.
bool UpdateUserDefaultApplication(const std::string &mimeType, const std::string &desktopId,
                                  bool makeDefault);

} // namespace reelcraft
