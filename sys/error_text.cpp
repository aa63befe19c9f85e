#include "sys/error_text.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <string_view>

namespace reelcraft {

namespace {

// Why a file could not be used, as the messages about it tell the user.
enum class FileErrorCause {
  None,
  Generic,
  FileNotFound,
  BadPath,
  TooManyOpenFiles,
  AccessDenied,
  HardIO,
  DiskFull,
};

constexpr size_t kLongestNamedPath = 1023;

const char *Sentence(FileErrorCause cause) {
  switch (cause) {
  case FileErrorCause::None:
    return "No error occurred.";
  case FileErrorCause::Generic:
    break;
  case FileErrorCause::FileNotFound:
    return "%1 was not found.";
  case FileErrorCause::BadPath:
    return "%1 contains an invalid path.";
  case FileErrorCause::TooManyOpenFiles:
    return "%1 could not be opened because there are too many open files.";
  case FileErrorCause::AccessDenied:
    return "Access to %1 was denied.";
  case FileErrorCause::HardIO:
    return "A hardware I/O error was reported while accessing %1.";
  case FileErrorCause::DiskFull:
    return "Disk full while accessing %1.";
  }
  return "An unknown error occurred while accessing %1.";
}

FileErrorCause FileErrorCauseOf(int systemError) {
  switch (systemError) {
  case 0:
    return FileErrorCause::None;
  case ENOENT:
    return FileErrorCause::FileNotFound;
  case EACCES:
  case EPERM:
    return FileErrorCause::AccessDenied;
  case EMFILE:
  case ENFILE:
    return FileErrorCause::TooManyOpenFiles;
  case ENOTDIR:
  case ENAMETOOLONG:
  case EINVAL:
    return FileErrorCause::BadPath;
  case EIO:
    return FileErrorCause::HardIO;
  case ENOSPC:
    return FileErrorCause::DiskFull;
  default:
    return FileErrorCause::Generic;
  }
}

std::string FileErrorText(FileErrorCause cause, const std::string &path) {
  std::string name = path.empty() ? "an unnamed file" : path.substr(0, kLongestNamedPath);
  std::string text = Sentence(cause);
  if (auto at = text.find("%1"); at != std::string::npos)
    text.replace(at, 2, name);
  return text;
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
  return FileErrorText(FileErrorCauseOf(systemError), path);
}

std::string ReadErrorMessage(int systemError, const std::string &path) {
  std::string reason = "error " + std::to_string(systemError);
  SystemErrorText(uint32_t(systemError), reason);
  return "Could not read " + path + ":\n" + reason;
}

} // namespace reelcraft
