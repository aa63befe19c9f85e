#include "sys/current_directory.h"

#include <unistd.h>

namespace reelcraft {

std::optional<std::string> CurrentDirectory() {
  char buffer[260];
  if (!getcwd(buffer, sizeof buffer))
    return std::nullopt;
  return std::string(buffer);
}

} // namespace reelcraft
