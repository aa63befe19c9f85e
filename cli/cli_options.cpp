// SPDX-License-Identifier: MIT
#include "cli/cli_options.h"

#include <charconv>
#include <getopt.h>
#include <utility>

namespace reelcraft {

namespace {

// More threads than this only queue for the same disk.
constexpr unsigned kMaxJobs = 256;

// Long options without a short form.
enum LongOnly { kInfo = 256, kJson, kProgress, kScan, kLike };

const option kLongOptions[] = {{"output", required_argument, nullptr, 'o'},
                               {"force", no_argument, nullptr, 'f'},
                               {"jobs", required_argument, nullptr, 'j'},
                               {"quiet", no_argument, nullptr, 'q'},
                               {"recursive", no_argument, nullptr, 'r'},
                               {"salvage", no_argument, nullptr, 's'},
                               {"info", no_argument, nullptr, kInfo},
                               {"scan", no_argument, nullptr, kScan},
                               {"like", required_argument, nullptr, kLike},
                               {"json", no_argument, nullptr, kJson},
                               {"progress", optional_argument, nullptr, kProgress},
                               {"help", no_argument, nullptr, 'h'},
                               {"version", no_argument, nullptr, 'V'},
                               {nullptr, 0, nullptr, 0}};

// "-": clips come back in their place among the options, whatever POSIXLY_CORRECT says;
// ":": a missing value is told apart from an unknown option, and getopt itself prints nothing.
const char kShortOptions[] = "-:o:fj:qrshV";

// The options that only switch something on.
constexpr std::pair<int, bool CliOptions::*> kFlags[] = {
    {'f', &CliOptions::force},   {'q', &CliOptions::quiet},  {'r', &CliOptions::recursive},
    {'s', &CliOptions::salvage}, {kInfo, &CliOptions::info}, {kJson, &CliOptions::json},
    {'h', &CliOptions::help},    {'V', &CliOptions::version}};

class Parser {
public:
  explicit Parser(const std::vector<std::string> &arguments) {
    copies_.push_back("qvj2avi");
    copies_.insert(copies_.end(), arguments.begin(), arguments.end());
    for (std::string &copy : copies_)
      argv_.push_back(copy.data());
    argv_.push_back(nullptr);
  }

  CliParse Run() {
    int argc = int(argv_.size()) - 1;
    optind = 0; // starts getopt afresh: it keeps its place between calls
    opterr = 0;
    for (int code;
         (code = getopt_long(argc, argv_.data(), kShortOptions, kLongOptions, nullptr)) != -1;) {
      if (std::string error = Apply(code); !error.empty())
        return {std::nullopt, error};
    }
    for (int index = optind; index < argc; ++index)
      options_.clips.push_back(argv_[size_t(index)]);
    if (options_.json && !options_.info)
      return {std::nullopt, "option --json goes with --info"};
    if (!options_.like.empty() && !options_.salvage)
      return {std::nullopt, "option --like goes with --salvage"};
    if (!options_.help && !options_.version && options_.clips.empty())
      return {std::nullopt, "no clip given"};
    return {options_, {}};
  }

private:
  // Gives the reason when the option is refused.
  std::string Apply(int code) {
    for (auto [flagCode, flag] : kFlags) {
      if (code == flagCode) {
        options_.*flag = true;
        return {};
      }
    }
    switch (code) {
    case 1: // a clip
      options_.clips.push_back(optarg);
      return {};
    case 'o':
      return TakeOutput();
    case 'j':
      return TakeJobs();
    case kProgress:
      return TakeProgress();
    case kLike:
      options_.like = optarg;
      return options_.like.empty() ? "option --like needs a value" : "";
    case kScan: // what a salvage would recover, for a script
      options_.info = options_.json = options_.salvage = true;
      return {};
    case ':':
      // BSD's getopt_long (mingw-w64's) says ':' also for a value given to an option that
      // takes none, where glibc's says '?'.
      if (std::string argument = argv_[size_t(optind - 1)];
          argument.starts_with("--") && argument.find('=') != std::string::npos)
        return "option " + OptionName() + " takes no value";
      return "option " + OptionName() + " needs a value";
    default:
      return optopt != 0 && std::string(argv_[size_t(optind - 1)]).starts_with("--")
                 ? "option " + OptionName() + " takes no value"
                 : "unknown option " + OptionName();
    }
  }

  // The option getopt stopped at, as it was written: "-x" out of "-fx", "--force" out of
  // "--force=1", an unknown long option whole.
  std::string OptionName() const {
    std::string argument = argv_[size_t(optind - 1)];
    if (argument.starts_with("--"))
      return optopt != 0 ? argument.substr(0, argument.find('=')) : argument;
    return std::string("-") + char(optopt);
  }

  std::string TakeOutput() {
    options_.output = optarg;
    return options_.output.empty() ? "option -o needs a value" : "";
  }

  std::string TakeJobs() {
    std::string text = optarg;
    unsigned jobs = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), jobs);
    if (error != std::errc() || end != text.data() + text.size() || jobs == 0 || jobs > kMaxJobs)
      return "option -j needs a number from 1 to " + std::to_string(kMaxJobs) + ", not " + text;
    options_.jobs = jobs;
    return {};
  }

  std::string TakeProgress() {
    std::string kind = optarg ? optarg : "line";
    if (kind == "line")
      options_.progress = ProgressRequest::Line;
    else if (kind == "json")
      options_.progress = ProgressRequest::Json;
    else
      return "option --progress takes line or json, not " + kind;
    return {};
  }

  std::vector<std::string> copies_;
  std::vector<char *> argv_;
  CliOptions options_;
};

} // namespace

CliParse ParseCliOptions(const std::vector<std::string> &arguments) {
  return Parser(arguments).Run();
}

std::string UsageText(const std::string &program) {
  return "Usage: " + program +
         " [options] CLIP...\n"
         "       " +
         program +
         " -r [options] FOLDER...\n"
         "\n"
         "Converts .qvj camera clips into AVI files with a Motion-JPEG video stream and, for\n"
         "clips with sound, a PCM audio stream. The pictures are copied as they are, one key\n"
         "frame each; nothing is decoded.\n"
         "\n"
         "  -o, --output PATH  one clip: the AVI file to write, or a folder to write into;\n"
         "                     several, or a folder: an existing folder to write into\n"
         "                     (default: beside each clip, its extension replaced by .avi;\n"
         "                     in a folder each AVI file is named after its clip that way)\n"
         "  -f, --force        replace existing AVI files (by default an existing output is\n"
         "                     left untouched and its clip skipped)\n"
         "  -r, --recursive    convert the clips in the folders given and below them: files\n"
         "                     ending in .qvj in any letter case, in name order; links to\n"
         "                     folders are not followed; with -o the folders are mirrored\n"
         "                     below the output folder, made as needed; an entry that\n"
         "                     cannot be examined or a path too long is reported\n"
         "  -j, --jobs N       clips converted at once (default: the number of processors)\n"
         "  -q, --quiet        no progress display and no summary\n"
         "      --progress[=KIND]\n"
         "                     line (the default KIND): the progress line on standard error\n"
         "                     even when it is no terminal; json: one JSON object a line on\n"
         "                     standard output, {\"clip\", \"state\", \"bytesDone\",\n"
         "                     \"bytesTotal\"}, state started, converting, then converted,\n"
         "                     incomplete, failed, skipped or interrupted (converted and\n"
         "                     incomplete add \"picturesWritten\", \"picturesExpected\" and,\n"
         "                     with -s, \"damagedStretches\", \"picturesLeftOut\",\n"
         "                     \"picturesForeign\" and \"headerGuessed\"); \"clipBytes\"\n"
         "                     (base64) too\n"
         "                     for a path that is not valid UTF-8\n"
         "  -s, --salvage      where damage stops the pictures, pass over it and go on with\n"
         "                     the next whole picture (it decodes, at the clip's size), to\n"
         "                     the end of the file whatever the header says; a picture left\n"
         "                     out or lost keeps its time as an empty frame; the AVI is then\n"
         "                     incomplete; with --info: what a salvage would recover, and\n"
         "                     where the damage lies\n"
         "      --like OTHER   with -s, for a clip whose header is lost: take the picture\n"
         "                     size, rate and sound format from OTHER, a clip of the same\n"
         "                     camera (without it, the size of the first whole picture, 15\n"
         "                     pictures a second and no sound)\n"
         "      --info         print each clip's header fields and convert nothing\n"
         "      --json         with --info: one JSON array, an object a clip\n"
         "      --scan         the same as --info --json --salvage\n"
         "  -h, --help         show this text\n"
         "  -V, --version      show the program's version\n"
         "  --                 what follows are clips, even if they begin with -\n"
         "\n"
         "Short options combine (-fq, -j2); long ones take their value after = or as the next\n"
         "argument (--progress only after =).\n"
         "Each AVI file is written without a name (or under a hidden temporary one) in the\n"
         "output's folder and named only when it is complete, so an output never holds a\n"
         "partial file. A clip whose output would be another output of the same run, or one\n"
         "of its clips, is skipped, and so is a clip or an existing output that is not a\n"
         "regular file (a folder, a FIFO, a device). A clip whose later pictures are missing\n"
         "is converted as far as it goes and reported as incomplete (\"incomplete, 5 of 40\n"
         "pictures\").\n"
         "Messages go to standard error, each prefixed with the clip's path. On a terminal a\n"
         "progress line shows the clips done, the share of the run done, the speed, the time\n"
         "left and the clips in hand (as plain lines when TERM is dumb or unset); a summary\n"
         "follows at the end. Ctrl-C, SIGTERM and SIGHUP stop every conversion and remove its\n"
         "partial file.\n"
         "\n"
         "Exit status: 0 every clip converted whole, 1 a clip failed, was skipped or is\n"
         "incomplete (its AVI kept with fewer pictures than the clip names), 2 usage error,\n"
         "130 interrupted (Ctrl-C), 143 terminated (SIGTERM), 129 hung up (SIGHUP).\n";
}

} // namespace reelcraft
