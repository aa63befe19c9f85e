// SPDX-License-Identifier: MIT
#include "cli/folder_search.h"

#include "sys/directory_search.h"
#include "sys/error_text.h"
#include "sys/win32_text.h"

#include <algorithm>
#include <cerrno>
#include <windows.h>

namespace reelcraft {

namespace {

DWORD AttributesOf(const std::string &path) {
  DWORD attributes = GetFileAttributesW(WidePath(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES)
    FailWithLastError();
  return attributes;
}

// Walks a folder argument entry by entry, every entry that cannot be examined reported. Paths
// are joined with the separator the argument itself uses, so that they read as it was typed.
class Search {
public:
  Search(std::vector<FoundClip> &found, const std::string &root)
      : found_(found), root_(root), separator_(root.find('\\') != std::string::npos ? '\\' : '/') {}

  void Folder(const std::string &relative) {
    std::string path = Join(root_, relative);
    DirectoryEntries entries = ReadDirectoryEntries(path);
    int error = entries.opened ? entries.error : errno;
    if (error != 0)
      Report(path, error);
    std::sort(entries.names.begin(), entries.names.end());
    for (const std::string &name : entries.names) {
      if (name != "." && name != "..")
        Entry(relative, name);
    }
  }

private:
  std::string Join(const std::string &folder, const std::string &name) const {
    if (folder.empty() || name.empty())
      return folder + name;
    bool ends = folder.back() == '/' || folder.back() == '\\';
    return ends ? folder + name : folder + separator_ + name;
  }

  void Entry(const std::string &relative, const std::string &name) {
    std::string path = Join(Join(root_, relative), name);
    DWORD attributes = AttributesOf(path);
    // An entry gone since its folder was read is no longer there to be examined.
    if (attributes == INVALID_FILE_ATTRIBUTES) {
      if (errno != ENOENT)
        Report(path, errno);
      return;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
      // Links to folders are not followed; hidden folders (a card's Recycle Bin holds clips the
      // user deleted, which converting would bring back) are no part of its recordings.
      bool hidden = name.starts_with(".") || (attributes & FILE_ATTRIBUTE_HIDDEN);
      if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT) && !hidden)
        Folder(Join(relative, name));
      return;
    }
    if (MatchesPattern(name, "*.qvj"))
      found_.push_back({path, relative, PathLengthRefusal(path)});
  }

  void Report(const std::string &path, int error) {
    found_.push_back({path, std::nullopt, ReadErrorMessage(error, path)});
  }

  std::vector<FoundClip> &found_;
  const std::string &root_;
  char separator_;
};

} // namespace

EntryKind KindOf(const std::string &path) {
  DWORD attributes = AttributesOf(path);
  if (attributes == INVALID_FILE_ATTRIBUTES)
    return EntryKind::Missing;
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
    return EntryKind::Other;
  return attributes & FILE_ATTRIBUTE_REPARSE_POINT ? EntryKind::FolderLink : EntryKind::Folder;
}

void SearchFolder(std::vector<FoundClip> &found, const std::string &root) {
  Search(found, root).Folder("");
}

} // namespace reelcraft
