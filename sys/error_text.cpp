// SPDX-License-Identifier: MIT
#include "sys/error_text.h"

#include "sys/translation.h"

#include <cerrno>
#include <string_view>

namespace reelcraft {

namespace {

constexpr size_t kLongestNamedPath = 1023;

// The sentence for a file failure, "%1" standing for the file; the system's own text, where
// none of ours says more, "%2".
std::string Sentence(int systemError) {
  switch (systemError) {
  case 0:
    return Translate("FileErrors", "No error occurred.");
  case ENOENT:
    return Translate("FileErrors", "%1 was not found.");
  case EACCES:
  case EPERM:
    return Translate("FileErrors", "Access to %1 was denied.");
  case EMFILE:
  case ENFILE:
    return Translate("FileErrors", "%1 could not be opened because there are too many open files.");
  case ENOTDIR:
  case ENAMETOOLONG:
  case EINVAL:
    return Translate("FileErrors", "%1 contains an invalid path.");
  case EIO:
    return Translate("FileErrors", "A hardware I/O error was reported while accessing %1.");
  case ENOSPC:
#ifdef EDQUOT
  case EDQUOT:
#endif
    return Translate("FileErrors", "Disk full while accessing %1.");
  case EBADF:
    return Translate("FileErrors", "An invalid file handle was associated with %1.");
  case ESPIPE:
    return Translate("FileErrors", "Seek failed on %1");
  case ETXTBSY:
    return Translate("FileErrors", "A sharing violation occurred while accessing %1.");
  case EWOULDBLOCK:
  case ENOLCK:
    return Translate("FileErrors", "A locking violation occurred while accessing %1.");
  default:
    return Translate("FileErrors", "%2 while accessing %1.");
  }
}

} // namespace

std::string FileErrorText(int systemError, const std::string &path) {
  std::string name =
      path.empty() ? Translate("FileErrors", "an unnamed file") : path.substr(0, kLongestNamedPath);
  std::string text = Sentence(systemError);
  if (auto at = text.find("%2"); at != std::string::npos) {
    // A read-only card, a card pulled out, a stale network file: the system says which.
    std::string reason;
    SystemErrorText(uint32_t(systemError), reason);
    text = reason.empty() ? Translate("FileErrors", "An unknown error occurred while accessing %1.")
                          : text.replace(at, 2, reason);
  }
  if (auto at = text.find("%1"); at != std::string::npos)
    text.replace(at, 2, name);
  return text;
}

std::string ReadErrorMessage(int systemError, const std::string &path) {
  std::string reason = Translate("FileErrors", "error ") + std::to_string(systemError);
  SystemErrorText(uint32_t(systemError), reason);
  return Translate("FileErrors", "Could not read ") + path + ":\n" + reason;
}

} // namespace reelcraft
