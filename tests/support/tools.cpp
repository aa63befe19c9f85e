// SPDX-License-Identifier: MIT
#include "tests/support/tools.h"

#include "tests/support/files.h"

// The build passes the paths it found, empty for a program it did not find; built elsewhere
// (the fuzzers' seed maker), the programs are looked for on the PATH.
#ifndef REELCRAFT_FFMPEG
#define REELCRAFT_FFMPEG "ffmpeg"
#define REELCRAFT_FFPROBE "ffprobe"
#define REELCRAFT_CJPEG "cjpeg"
#endif

namespace reelcraft::test {

namespace {

struct ToolInfo {
  const char *name;
  const char *path;
};

ToolInfo Info(Tool tool) {
  switch (tool) {
  case Tool::Ffmpeg:
    return {"ffmpeg", REELCRAFT_FFMPEG};
  case Tool::Ffprobe:
    return {"ffprobe", REELCRAFT_FFPROBE};
  case Tool::Cjpeg:
    break;
  }
  return {"cjpeg", REELCRAFT_CJPEG};
}

} // namespace

std::string ToolCommand(Tool tool) { return ShellQuote(Info(tool).path); }

std::string MissingTools(std::initializer_list<Tool> tools) {
  std::string missing;
  for (Tool tool : tools)
    if (*Info(tool).path == '\0')
      missing += (missing.empty() ? "" : ", ") + std::string(Info(tool).name);
  return missing.empty() ? missing
                         : "needs " + missing + ", not found when the build was configured";
}

} // namespace reelcraft::test
