// SPDX-License-Identifier: MIT
#include "sys/paths.h"

#include <algorithm>
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

std::vector<std::string> XdgDataDirs() {
  std::vector<std::string> folders;
  const char *value = std::getenv("XDG_DATA_DIRS");
  std::string list = value ? value : "";
  for (size_t start = 0; start <= list.size();) {
    size_t end = std::min(list.find(':', start), list.size());
    std::string folder = list.substr(start, end - start);
    if (!folder.empty() && folder.front() == '/')
      folders.push_back(folder);
    start = end + 1;
  }
  if (folders.empty())
    folders = {"/usr/local/share", "/usr/share"};
  return folders;
}

} // namespace reelcraft
