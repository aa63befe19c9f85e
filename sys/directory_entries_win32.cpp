// SPDX-License-Identifier: MIT
#include "sys/directory_search.h"

#include "sys/win32_text.h"

#include <cerrno>
#include <windows.h>

namespace reelcraft {

DirectoryEntries ReadDirectoryEntries(const std::string &folder) {
  DirectoryEntries entries;
  std::string pattern =
      folder.empty() ? "*"
                     : folder + (folder.ends_with('\\') || folder.ends_with('/') ? "*" : "\\*");
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileExW(WidePath(pattern).c_str(), FindExInfoBasic, &found,
                                   FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (search == INVALID_HANDLE_VALUE) {
    // An empty folder still has "." and ".."; only a drive's root may have nothing at all.
    DWORD error = GetLastError();
    entries.opened = error == ERROR_FILE_NOT_FOUND;
    errno = ErrnoOf(error);
    return entries;
  }
  entries.opened = true;
  do
    entries.names.push_back(Utf8Text(found.cFileName));
  while (FindNextFileW(search, &found));
  if (DWORD error = GetLastError(); error != ERROR_NO_MORE_FILES)
    entries.error = ErrnoOf(error);
  FindClose(search);
  return entries;
}

} // namespace reelcraft
