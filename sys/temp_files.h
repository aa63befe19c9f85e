#pragma once

#include "sys/file_identity.h"

#include <optional>
#include <string>

namespace reelcraft {

// The system's temporary folder ($TMPDIR, else /tmp), without a trailing '/' (the root stays
// "/"); nullopt when it is too long for a path buffer to hold a name in it.
std::optional<std::string> TempFolder();

// Creates a new empty file in `folder` named `prefix` + up to four hexadecimal digits + ".tmp",
// exclusively (never an existing file), with `mode` less the umask, and gives its path and
// identity; an empty path on failure, errno telling why.
FileRef ReserveTempName(const std::string &folder, const std::string &prefix, unsigned mode);

} // namespace reelcraft
