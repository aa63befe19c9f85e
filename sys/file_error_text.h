#pragma once

#include <string>

namespace reelcraft {

// Why a file could not be used, as the messages about it tell the user.
enum class FileErrorCause {
  None,
  Generic,
  FileNotFound,
  BadPath,
  TooManyOpenFiles,
  AccessDenied,
  InvalidFile,
  RemoveCurrentDir,
  DirectoryFull,
  BadSeek,
  HardIO,
  SharingViolation,
  LockViolation,
  DiskFull,
  EndOfFile,
};

FileErrorCause FileErrorCauseOf(int systemError);

// The sentence that follows a file failure message, naming the file.
std::string FileErrorText(FileErrorCause cause, const std::string &path);
std::string FileErrorText(int systemError, const std::string &path);

// The message about a file whose reading failed part way (a bad sector, say): no conversion may
// pass for done on what was read before. Names the file and gives the system's reason.
std::string ReadErrorMessage(int systemError, const std::string &path);

} // namespace reelcraft
