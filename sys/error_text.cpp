// SPDX-License-Identifier: MIT
#include "sys/error_text.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <string_view>

namespace reelcraft {

namespace {

constexpr size_t kLongestNamedPath = 1023;

// The sentence for a file failure, "%1" standing for the file.
const char *Sentence(int systemError) {
  switch (systemError) {
  case 0:
    return "No error occurred.";
  case ENOENT:
    return "%1 was not found.";
  case EACCES:
  case EPERM:
    return "Access to %1 was denied.";
  case EMFILE:
  case ENFILE:
    return "%1 could not be opened because there are too many open files.";
  case ENOTDIR:
  case ENAMETOOLONG:
  case EINVAL:
    return "%1 contains an invalid path.";
  case EIO:
    return "A hardware I/O error was reported while accessing %1.";
  case ENOSPC:
    return "Disk full while accessing %1.";
  default:
    return "An unknown error occurred while accessing %1.";
  }
}

} // namespace

void SystemErrorText(uint32_t code, std::string &text) {
  if (code > uint32_t(INT_MAX))
    return;
  char buffer[256];
  // The GNU strerror_r, which may give a static text instead of filling the buffer.
  const char *found = strerror_r(int(code), buffer, sizeof buffer);
  // glibc names codes it does not know "Unknown error N": that is no description.
  if (!found || std::string_view(found).starts_with("Unknown error"))
    return;
  text = found;
}

std::string FileErrorText(int systemError, const std::string &path) {
  std::string name = path.empty() ? "an unnamed file" : path.substr(0, kLongestNamedPath);
  std::string text = Sentence(systemError);
  if (auto at = text.find("%1"); at != std::string::npos)
    text.replace(at, 2, name);
  return text;
}

std::string ReadErrorMessage(int systemError, const std::string &path) {
  std::string reason = "error " + std::to_string(systemError);
  SystemErrorText(uint32_t(systemError), reason);
  return "Could not read " + path + ":\n" + reason;
}

} // namespace reelcraft
