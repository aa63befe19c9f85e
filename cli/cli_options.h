#pragma once

#include <optional>
#include <string>
#include <vector>

namespace reelcraft {

// What the command line of qvj2avi asks for.
struct CliOptions {
  std::vector<std::string> clips;
  std::string output; // empty: beside each clip
  bool force = false;
  unsigned jobs = 0; // 0: one per processor
  bool quiet = false;
  bool info = false;
  bool help = false;
};

struct CliParse {
  std::optional<CliOptions> options;
  std::string error; // why the command line was refused, when it was
};

// `arguments` without the program's name.
CliParse ParseCliOptions(const std::vector<std::string> &arguments);

std::string UsageText(const std::string &program);

// The clip's path with its extension (if any) replaced by ".avi".
std::string DefaultOutputPath(const std::string &clip);

} // namespace reelcraft
