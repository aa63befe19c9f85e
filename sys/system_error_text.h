#pragma once

#include <cstdint>
#include <string>

namespace reelcraft {

// Replaces `text` with the system's description of an error code (an errno value here); a
// code the system has no description for leaves `text` as it was.
void SystemErrorText(uint32_t code, std::string &text);

} // namespace reelcraft
