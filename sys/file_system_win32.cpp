// SPDX-License-Identifier: MIT
#include "sys/file_system.h"

#include "sys/win32_text.h"

#include <cerrno>
#include <windows.h>

namespace reelcraft {

namespace {

DWORD AttributesOf(const std::string &path) {
  return GetFileAttributesW(WidePath(path.empty() ? "." : path).c_str());
}

// The place of the separator before a path's last name; npos for a bare name.
size_t LastSeparator(const std::string &path) { return path.find_last_of("/\\"); }

} // namespace

bool PathExists(const std::string &path) {
  return AttributesOf(path) != INVALID_FILE_ATTRIBUTES || FailWithLastError();
}

bool IsFolder(const std::string &path) {
  DWORD attributes = AttributesOf(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool CreateFolder(const std::string &path) {
  return CreateDirectoryW(WidePath(path).c_str(), nullptr) || FailWithLastError();
}

bool RenamePath(const std::string &from, const std::string &to) {
  return MoveFileExW(WidePath(from).c_str(), WidePath(to).c_str(), MOVEFILE_REPLACE_EXISTING) ||
         FailWithLastError();
}

bool RenameWithoutReplacing(const std::string &from, const std::string &to) {
  return MoveFileExW(WidePath(from).c_str(), WidePath(to).c_str(), 0) || FailWithLastError();
}

bool DeletePath(const std::string &path) {
  return DeleteFileW(WidePath(path).c_str()) || FailWithLastError();
}

std::string ParentFolder(const std::string &path) {
  size_t slash = LastSeparator(path);
  if (slash == std::string::npos)
    return path.size() == 2 && path[1] == ':' ? path : std::string();
  // A drive's root keeps its separator: "C:" alone is the drive's current folder.
  bool driveRoot = slash == 2 && path[1] == ':';
  return slash == 0 || driveRoot ? path.substr(0, slash + 1) : path.substr(0, slash);
}

std::string FileName(const std::string &path) {
  size_t slash = LastSeparator(path);
  if (slash == std::string::npos && path.size() >= 2 && path[1] == ':')
    return path.substr(2);
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace reelcraft
