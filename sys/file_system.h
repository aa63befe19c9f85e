// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace reelcraft {

// The separator that the system's own paths, and the commands the shell runs, are written with.
// Windows takes '/' as well.
#ifdef _WIN32
constexpr char kPathSeparator = '\\';
constexpr const char *kPathSeparators = "/\\";
#else
constexpr char kPathSeparator = '/';
constexpr const char *kPathSeparators = "/";
#endif
inline bool IsPathSeparator(char c) { return c == '/' || c == kPathSeparator; }

// Plain file-system services on paths held as bytes. Each reports only success or failure;
// callers that care judge the outcome by a following existence test.

// True when the path names an existing entry, folder or file.
bool PathExists(const std::string &path);
bool IsFolder(const std::string &path);
// Creates one folder; its parent must exist.
bool CreateFolder(const std::string &path);
// Creates a folder and every missing parent, outer first.
bool CreateFolders(const std::string &path);
// Renames within one file system, replacing an existing file of the new name.
bool RenamePath(const std::string &from, const std::string &to);
// Renames, failing when the new name already exists, as a temporary name must never take over
// someone else's file.
bool RenameWithoutReplacing(const std::string &from, const std::string &to);
bool DeletePath(const std::string &path);

// The folder part of a path ("/" for an entry of the root, "" for a bare name) and the name part.
std::string ParentFolder(const std::string &path);
std::string FileName(const std::string &path);

} // namespace reelcraft
