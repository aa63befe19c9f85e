#include "sys/temp_files.h"

#include "sys/paths.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace reelcraft {

namespace {

constexpr size_t kLongestName = 3 + 4 + 4; // prefix, four hex digits, ".tmp"

std::string NameFor(const std::string &folder, const std::string &prefix, unsigned number) {
  char digits[8];
  std::snprintf(digits, sizeof digits, "%X", number);
  return (folder == "/" ? "" : folder) + "/" + prefix + digits + ".tmp";
}

} // namespace

std::optional<std::string> TempFolder() {
  const char *tmpdir = std::getenv("TMPDIR");
  std::string folder = tmpdir && *tmpdir ? tmpdir : "/tmp";
  while (folder.size() > 1 && folder.back() == '/')
    folder.pop_back();
  if (folder.size() + 1 + kLongestName >= kPathBufferSize)
    return std::nullopt;
  return folder;
}

FileRef ReserveTempName(const std::string &folder, const std::string &prefix, unsigned mode) {
  // Start somewhere different in every process and call so that reservations made at once
  // rarely collide; O_EXCL makes a collision harmless.
  auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
  unsigned first = unsigned(ticks ^ (getpid() << 4)) & 0xFFFF;
  for (unsigned tries = 0; tries < 0xFFFF; ++tries) {
    unsigned number = (first + tries) % 0xFFFF + 1;
    std::string path = NameFor(folder, prefix, number);
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode_t(mode));
    if (fd >= 0) {
      std::optional<FileIdentity> identity = IdentityOf(fd);
      close(fd);
      return identity ? FileRef(path, identity) : FileRef("");
    }
    if (errno != EEXIST)
      return FileRef("");
  }
  return FileRef("");
}

} // namespace reelcraft
