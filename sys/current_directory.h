#pragma once

#include <optional>
#include <string>

namespace reelcraft {

// The process's current directory; nullopt when it cannot be read (removed, or too long for a
// path buffer of 260 characters).
std::optional<std::string> CurrentDirectory();

} // namespace reelcraft
