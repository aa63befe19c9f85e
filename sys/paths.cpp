// SPDX-License-Identifier: MIT
#include "sys/paths.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace reelcraft {

namespace {

std::string HomeFolder() {
  const char *home = std::getenv("HOME");
  if (home && *home)
    return home;
  const passwd *entry = getpwuid(getuid());
  return entry && entry->pw_dir ? entry->pw_dir : "/";
}

std::string BaseFolder(const char *variable, const char *fallback) {
  const char *value = std::getenv(variable);
  if (value && value[0] == '/')
    return value;
  std::string home = HomeFolder();
  return (home == "/" ? std::string() : home) + fallback;
}

} // namespace

std::optional<std::string> CurrentDirectory() {
  char buffer[kPathBufferSize];
  if (!getcwd(buffer, sizeof buffer))
    return std::nullopt;
  return std::string(buffer);
}

ProgramPath RunningProgramPath() {
  char buffer[PATH_MAX];
  ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer);
  if (length < 0)
    return {std::string(), errno};
  if (size_t(length) == sizeof buffer)
    return {std::string(), ENAMETOOLONG};
  return {std::string(buffer, size_t(length)), 0};
}

std::string XdgDataHome() { return BaseFolder("XDG_DATA_HOME", "/.local/share"); }
std::string XdgConfigHome() { return BaseFolder("XDG_CONFIG_HOME", "/.config"); }

} // namespace reelcraft
