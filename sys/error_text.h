// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

namespace reelcraft {

// Replaces `text` with the system's description of an error code (an errno value here); a
// code the system has no description for leaves `text` as it was.
void SystemErrorText(uint32_t code, std::string &text);

// The sentence that follows a file failure message, naming the file.
std::string FileErrorText(int systemError, const std::string &path);

// The message about a file whose reading failed part way (a bad sector, say): no conversion may
// pass for done on what was read before. Names the file and gives the system's reason.
std::string ReadErrorMessage(int systemError, const std::string &path);

} // namespace reelcraft
