#include "sys/xdg_paths.h"

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

std::string XdgDataHome() { return BaseFolder("XDG_DATA_HOME", "/.local/share"); }
std::string XdgConfigHome() { return BaseFolder("XDG_CONFIG_HOME", "/.config"); }

} // namespace reelcraft
