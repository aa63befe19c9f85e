// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace reelcraft {

// What one read of a folder gave: every name in it (folders included) until the end or an
// error. `opened` is false when the folder could not be read at all.
struct DirectoryEntries {
  bool opened = false;
  std::vector<std::string> names;
  int error = 0; // errno of a read that failed part-way; 0 when the folder was read to its end
};

DirectoryEntries ReadDirectoryEntries(const std::string &folder);
#ifndef _WIN32
// The same, of the folder open as the descriptor `folder`, which stays the caller's; errno tells
// why when it cannot be read.
DirectoryEntries ReadOpenDirectoryEntries(int folder);
#endif

using DirectoryReader = std::function<DirectoryEntries(const std::string &folder)>;

// Matches a name against a pattern of '*' and '?' without regard to ASCII letter case, as a
// Windows directory search matches.
bool MatchesPattern(std::string_view name, std::string_view pattern);

// The matches of a directory search, in the order an NTFS folder gives them: by name without
// regard to letter case. `started` is false when there was no match (or no folder), as a search
// that cannot start; `error` is the errno of a read that stopped before the last entry.
struct DirectorySearch {
  bool started = false;
  std::vector<std::string> names;
  int error = 0;
};

// `folder` is searched as given ("" is the current directory); matching folders count too.
DirectorySearch SearchDirectory(const std::string &folder, const std::string &pattern,
                                const DirectoryReader &reader = ReadDirectoryEntries);

} // namespace reelcraft
