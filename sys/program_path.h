#pragma once

#include <string>

namespace reelcraft {

// The running program file's full path, or the errno value of the failure.
struct ProgramPath {
  std::string path;
  int error = 0;
};
ProgramPath RunningProgramPath();

} // namespace reelcraft
