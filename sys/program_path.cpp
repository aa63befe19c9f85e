#include "sys/program_path.h"

#include <cerrno>
#include <climits>
#include <unistd.h>

namespace reelcraft {

ProgramPath RunningProgramPath() {
  char buffer[PATH_MAX];
  ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer);
  if (length < 0)
    return {std::string(), errno};
  if (size_t(length) == sizeof buffer)
    return {std::string(), ENAMETOOLONG};
  return {std::string(buffer, size_t(length)), 0};
}

} // namespace reelcraft
