// SPDX-License-Identifier: MIT
#pragma once

#include "desktop/command_text.h"

#include <functional>
#include <optional>
#include <string>

namespace reelcraft {

// What `reelcraft --help` and `reelcraft --version` print. Either must be the only argument,
// and no file of that name may exist: a clip may be named so, and the file manager starts the
// program with the clip alone.
std::optional<std::string>
ProgramInformation(const CommandLineArguments &arguments,
                   const std::function<bool(const std::string &)> &fileExists);

// The line that tells why the windows cannot open, for a start without a display.
std::string NoDisplayText();

} // namespace reelcraft
