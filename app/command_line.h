#pragma once

#include <functional>
#include <optional>
#include <string>

namespace reelcraft {

struct CommandLineArguments {
  std::string first;
  std::string second;
};

// Splits the text after the program's path into its first and second argument; nullopt when a
// quote is opened and never closed. Only the space separates; a tab is an ordinary character.
std::optional<CommandLineArguments> ParseCommandLine(const std::string &text);

// The arguments as the system hands them to the program, already split: argv[1] and argv[2]
// count, later ones are ignored.
CommandLineArguments ArgumentsOf(int argc, const char *const *argv);

enum class Mode { Invalid, Batch, ReRegister, Remove, SingleClip };

Mode ClassifyMode(bool valid, const std::string &firstArgument);

struct SingleClipRequest {
  std::string sourcePath;
  std::string targetPath;
  bool askFolder = false;
  bool deleteSource = false;
};

using DocumentsFolderQuery = std::function<std::optional<std::string>()>;

SingleClipRequest MakeSingleClipRequest(const std::string &firstArgument,
                                        const std::string &secondArgument,
                                        const DocumentsFolderQuery &documentsFolder);

} // namespace reelcraft
