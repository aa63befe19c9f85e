// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace reelcraft {

// How a command text splits into the program and its arguments: the program's own command
// line, and the verb commands of a file association that start the program with a file.

struct CommandLineArguments {
  std::string first;
  std::string second;
};

// Splits the text after the program's path into its first and second argument; nullopt when a
// quote is opened and never closed. Only the space separates; a tab is an ordinary character.
std::optional<CommandLineArguments> ParseCommandLine(const std::string &text);

// Splits a verb's command value the way it reaches the program: the program path (quoted, or
// up to the first space), then the rest read as the program reads its own command line. Gives
// the program and its first and, if any, second argument.
std::optional<std::vector<std::string>> SplitVerbCommand(const std::string &command);

} // namespace reelcraft
