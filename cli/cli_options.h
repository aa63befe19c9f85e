// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace reelcraft {

// What a run reports while it converts, besides the messages on standard error.
enum class ProgressRequest {
  Auto, // a status line when standard error is a terminal
  Line, // a status line on standard error even when it is no terminal
  Json, // one JSON object a line on standard output
};

// What the command line of qvj2avi asks for.
struct CliOptions {
  std::vector<std::string> clips; // clips and, with `recursive`, folders
  std::string output;             // empty: beside each clip
  bool force = false;
  unsigned jobs = 0; // 0: one per processor
  bool quiet = false;
  bool recursive = false;
  bool info = false;
  bool json = false; // with `info`
  bool salvage = false;
  std::string like; // with `salvage`: a clip whose header stands in for an unreadable one
  ProgressRequest progress = ProgressRequest::Auto;
  bool help = false;
  bool version = false;
};

struct CliParse {
  std::optional<CliOptions> options;
  std::string error; // why the command line was refused, when it was
};

// `arguments` without the program's name.
CliParse ParseCliOptions(const std::vector<std::string> &arguments);

std::string UsageText(const std::string &program);

} // namespace reelcraft
