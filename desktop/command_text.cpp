// SPDX-License-Identifier: MIT
#include "desktop/command_text.h"

#include <string_view>

namespace reelcraft {

namespace {

// Paths are UTF-8 here: a multibyte character's bytes are all 0x80 or above, so the byte
// searches below never mistake part of one for a quote or a space.

void SkipSpaces(std::string_view &text) {
  size_t first = text.find_first_not_of(' ');
  text.remove_prefix(first == std::string_view::npos ? text.size() : first);
}

// Reads one argument from the front of `text` and cuts it off; false for an unclosed quote.
bool ReadArgument(std::string_view &text, std::string &argument) {
  if (!text.empty() && text.front() == '"') {
    size_t close = text.find('"', 1);
    if (close == std::string_view::npos)
      return false;
    argument = text.substr(1, close - 1);
    text.remove_prefix(close + 1);
    return true;
  }
  size_t space = text.find(' ');
  if (space == std::string_view::npos) {
    argument = text;
    text = {};
  } else {
    argument = text.substr(0, space);
    text.remove_prefix(space + 1);
  }
  return true;
}

} // namespace

std::optional<CommandLineArguments> ParseCommandLine(const std::string &text) {
  std::string_view rest = text;
  CommandLineArguments arguments;
  SkipSpaces(rest);
  if (!ReadArgument(rest, arguments.first))
    return std::nullopt;
  if (rest.empty())
    return arguments;
  SkipSpaces(rest);
  if (!ReadArgument(rest, arguments.second))
    return std::nullopt;
  return arguments;
}

std::optional<std::vector<std::string>> SplitVerbCommand(const std::string &command) {
  size_t start = command.find_first_not_of(' ');
  if (start == std::string::npos)
    return std::nullopt;
  std::string program;
  std::string rest;
  if (command[start] == '"') {
    size_t close = command.find('"', start + 1);
    if (close == std::string::npos)
      return std::nullopt;
    program = command.substr(start + 1, close - start - 1);
    rest = command.substr(close + 1);
  } else {
    size_t space = command.find(' ', start);
    program = command.substr(start, space == std::string::npos ? space : space - start);
    rest = space == std::string::npos ? std::string() : command.substr(space + 1);
  }
  std::optional<CommandLineArguments> arguments = ParseCommandLine(rest);
  if (program.empty() || !arguments)
    return std::nullopt;
  std::vector<std::string> argv{program};
  if (!arguments->first.empty() || !arguments->second.empty())
    argv.push_back(arguments->first);
  if (!arguments->second.empty())
    argv.push_back(arguments->second);
  return argv;
}

} // namespace reelcraft
