#include "cli/cli_options.h"

#include <charconv>
#include <filesystem>

namespace reelcraft {

namespace {

// More threads than this only queue for the same disk.
constexpr unsigned kMaxJobs = 256;

class Parser {
public:
  explicit Parser(const std::vector<std::string> &arguments) : arguments_(arguments) {}

  CliParse Run() {
    for (index_ = 0; index_ < arguments_.size(); ++index_) {
      const std::string &argument = arguments_[index_];
      std::string error = onlyClips_ ? AddClip(argument) : Apply(argument);
      if (!error.empty())
        return {std::nullopt, error};
    }
    if (!options_.help && options_.clips.empty())
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
    else if (argument == "-q" || argument == "--quiet")
      options_.quiet = true;
    else if (argument == "--info")
      options_.info = true;
    else if (Takes(argument, "-o", "--output"))
      return TakeValue(argument, "-o", "--output", options_.output);
    else if (Takes(argument, "-j", "--jobs"))
      return TakeJobs(argument);
    else if (argument == "--")
      onlyClips_ = true;
    else if (argument.size() > 1 && argument[0] == '-')
      return "unknown option " + argument;
    else
      return AddClip(argument);
    return {};
  }

  // The option alone, its short form with the value attached ("-j2"), or its long form with
  // "=value".
  static bool Takes(const std::string &argument, const std::string &shortName,
                    const std::string &longName) {
    return argument == longName || argument.starts_with(shortName) ||
           argument.starts_with(longName + "=");
  }

  std::string TakeValue(const std::string &argument, const std::string &shortName,
                        const std::string &longName, std::string &value) {
    if (argument.starts_with(longName + "=")) {
      value = argument.substr(longName.size() + 1);
    } else if (argument != longName && argument != shortName) {
      value = argument.substr(shortName.size());
    } else {
      if (index_ + 1 >= arguments_.size())
        return "option " + argument + " needs a value";
      value = arguments_[++index_];
    }
    if (value.empty())
      return "option " + shortName + " needs a value";
    return {};
  }

  std::string TakeJobs(const std::string &argument) {
    std::string text;
    if (std::string error = TakeValue(argument, "-j", "--jobs", text); !error.empty())
      return error;
    unsigned jobs = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), jobs);
    if (error != std::errc() || end != text.data() + text.size() || jobs == 0 || jobs > kMaxJobs)
      return "option -j needs a number from 1 to " + std::to_string(kMaxJobs) + ", not " + text;
    options_.jobs = jobs;
    return {};
  }

  std::string AddClip(const std::string &argument) {
    options_.clips.push_back(argument);
    return {};
  }

  const std::vector<std::string> &arguments_;
  size_t index_ = 0;
  bool onlyClips_ = false;
  CliOptions options_;
};

} // namespace

CliParse ParseCliOptions(const std::vector<std::string> &arguments) {
  return Parser(arguments).Run();
}

std::string UsageText(const std::string &program) {
  return "Usage: " + program +
         " [options] CLIP...\n"
         "\n"
         "Converts .qvj camera clips into AVI files with a Motion-JPEG video stream and, for\n"
         "clips with sound, a PCM audio stream. The pictures are copied as they are, one key\n"
         "frame each; nothing is decoded.\n"
         "\n"
         "  -o, --output PATH  one clip: the AVI file to write, or a folder to write into;\n"
         "                     several: an existing folder to write into (default: beside\n"
         "                     each clip, its extension replaced by .avi; in a folder each\n"
         "                     AVI file is named after its clip that way)\n"
         "  -f, --force        replace existing AVI files (by default an existing output is\n"
         "                     left untouched and its clip skipped)\n"
         "  -j, --jobs N       clips converted at once (default: the number of processors)\n"
         "  -q, --quiet        no progress display and no summary\n"
         "      --info         print each clip's header fields and convert nothing\n"
         "  -h, --help         show this text\n"
         "  --                 what follows are clips, even if they begin with -\n"
         "\n"
         "Each AVI file is written under a temporary name in the output's folder and renamed\n"
         "into place only when it is complete, so an output never holds a partial file. A clip\n"
         "whose output would be another output of the same run, or one of its clips, is\n"
         "skipped, and so is a clip or an existing output that is not a regular file (a\n"
         "folder, a FIFO, a device). A clip whose later pictures are missing is converted as\n"
         "far as it goes.\n"
         "Messages go to standard error, each prefixed with the clip's path. On a terminal a\n"
         "progress line shows the clips done, the speed and the clips in hand; a summary\n"
         "follows at the end. Ctrl-C stops every conversion and removes its partial file.\n"
         "\n"
         "Exit status: 0 every clip converted, 1 a clip failed or was skipped, 2 usage error,\n"
         "130 interrupted.\n";
}

std::string DefaultOutputPath(const std::string &clip) {
  return std::filesystem::path(clip).replace_extension(".avi").string();
}

} // namespace reelcraft
