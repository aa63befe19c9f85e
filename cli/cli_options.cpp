#include "cli/cli_options.h"

#include <filesystem>

namespace reelcraft {

namespace {

class Parser {
public:
  explicit Parser(const std::vector<std::string> &arguments) : arguments_(arguments) {}

  CliParse Run() {
    for (index_ = 0; index_ < arguments_.size(); ++index_) {
      std::string error = onlyClips_ ? AddClip(arguments_[index_]) : Apply(arguments_[index_]);
      if (!error.empty())
        return {std::nullopt, error};
    }
    if (!options_.help && options_.clip.empty())
      return {std::nullopt, "no clip given"};
    return {options_, {}};
  }

private:
  // Gives the reason when the argument is refused.
  std::string Apply(const std::string &argument) {
    if (argument == "--help" || argument == "-h")
      options_.help = true;
    else if (argument == "-f" || argument == "--force")
      options_.force = true;
    else if (argument == "-o" || argument == "--output")
      return TakeValue(argument, options_.output);
    else if (argument == "--")
      onlyClips_ = true;
    else if (argument.size() > 1 && argument[0] == '-')
      return "unknown option " + argument;
    else
      return AddClip(argument);
    return {};
  }

  std::string TakeValue(const std::string &option, std::string &value) {
    if (index_ + 1 >= arguments_.size())
      return "option " + option + " needs a value";
    value = arguments_[++index_];
    return {};
  }

  std::string AddClip(const std::string &argument) {
    if (!options_.clip.empty())
      return "one clip at a time";
    options_.clip = argument;
    return {};
  }

  const std::vector<std::string> &arguments_;
  size_t index_ = 0;
  bool onlyClips_ = false;
  CliOptions options_;
};

} // namespace

CliParse ParseCommandLine(const std::vector<std::string> &arguments) {
  return Parser(arguments).Run();
}

std::string UsageText(const std::string &program) {
  return "Usage: " + program +
         " CLIP [-o OUT.avi] [-f]\n"
         "\n"
         "Converts a .qvj camera clip into an AVI file with a Motion-JPEG video stream. The\n"
         "pictures are copied as they are, one key frame each; nothing is decoded.\n"
         "\n"
         "  -o, --output OUT.avi  where to write the AVI file (default: beside the clip, its\n"
         "                        extension replaced by .avi)\n"
         "  -f, --force           replace the output if it exists (by default an existing\n"
         "                        output is left untouched and the conversion refused)\n"
         "  -h, --help            show this text\n"
         "  --                    what follows is the clip, even if it begins with -\n"
         "\n"
         "The AVI file is written under a temporary name in the output's folder and renamed\n"
         "into place only when it is complete, so the output never holds a partial file.\n"
         "A clip whose pictures run out before its frame count is reported and not written.\n"
         "Clips with sound are not supported yet. Messages go to standard error, each\n"
         "prefixed with the clip's path.\n"
         "\n"
         "Exit status: 0 converted, 1 failed (nothing written), 2 usage error.\n";
}

std::string DefaultOutputPath(const std::string &clip) {
  return std::filesystem::path(clip).replace_extension(".avi").string();
}

} // namespace reelcraft
