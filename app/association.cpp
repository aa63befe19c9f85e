#include "app/association.h"

#include "app/app_icon_files.h"
#include "app/command_line.h"

namespace reelcraft {

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

DesktopFileType ClipDesktopType() {
  return {kClipExtension,  "video/x-qvj",    "QVAV01",       "reelcraft",
          "reelcraft-qvj", SplitVerbCommand, AppIconFiles(), kThumbnailerName};
}

} // namespace reelcraft
