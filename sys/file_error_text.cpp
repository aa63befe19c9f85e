#include "sys/file_error_text.h"

#include "sys/system_error_text.h"

#include <cerrno>

namespace reelcraft {

namespace {

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
  case FileErrorCause::InvalidFile:
    return "An invalid file handle was associated with %1.";
  case FileErrorCause::RemoveCurrentDir:
    return "%1 could not be removed because it is the current directory.";
  case FileErrorCause::DirectoryFull:
    return "%1 could not be created because the directory is full.";
  case FileErrorCause::BadSeek:
    return "Seek failed on %1";
  case FileErrorCause::HardIO:
    return "A hardware I/O error was reported while accessing %1.";
  case FileErrorCause::SharingViolation:
    return "A sharing violation occurred while accessing %1.";
  case FileErrorCause::LockViolation:
    return "A locking violation occurred while accessing %1.";
  case FileErrorCause::DiskFull:
    return "Disk full while accessing %1.";
  case FileErrorCause::EndOfFile:
    return "An attempt was made to access %1 past its end.";
  }
  return "An unknown error occurred while accessing %1.";
}

} // namespace

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

std::string FileErrorText(int systemError, const std::string &path) {
  return FileErrorText(FileErrorCauseOf(systemError), path);
}

std::string ReadErrorMessage(int systemError, const std::string &path) {
  std::string reason = "error " + std::to_string(systemError);
  SystemErrorText(uint32_t(systemError), reason);
  return "Could not read " + path + ":\n" + reason;
}

} // namespace reelcraft
