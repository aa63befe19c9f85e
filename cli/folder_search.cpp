// SPDX-License-Identifier: MIT
#include "cli/folder_search.h"

#include "sys/descriptor.h"
#include "sys/directory_search.h"
#include "sys/error_text.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

namespace reelcraft {

EntryKind KindOf(const std::string &path) {
  struct stat status = {};
  if (::lstat(path.c_str(), &status) != 0)
    return EntryKind::Missing;
  if (S_ISDIR(status.st_mode))
    return EntryKind::Folder;
  if (S_ISLNK(status.st_mode) && ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode))
    return EntryKind::FolderLink;
  return EntryKind::Other;
}

namespace {

std::string Join(const std::string &folder, const std::string &name) {
  return folder.empty() ? name : folder.ends_with('/') ? folder + name : folder + "/" + name;
}

// Walks a folder argument through descriptors, each entry reached from its own folder's, so
// that a path past the longest the system takes is examined like any other; every entry that
// cannot be examined is reported.
class Search {
public:
  Search(std::vector<FoundClip> &found, const std::string &root) : found_(found), root_(root) {}

  void Folder(int folder, const std::string &relative) {
    std::string path = Join(root_, relative);
    DirectoryEntries entries = ReadOpenDirectoryEntries(folder);
    int error = entries.opened ? entries.error : errno;
    if (error != 0)
      Report(path, error);
    std::sort(entries.names.begin(), entries.names.end());
    for (const std::string &name : entries.names) {
      if (name != "." && name != "..")
        Entry(folder, relative, name);
    }
  }

private:
  void Entry(int folder, const std::string &relative, const std::string &name) {
    std::string path = Join(Join(root_, relative), name);
    struct stat status = {};
    // An entry gone since its folder was read is no longer there to be examined.
    if (::fstatat(folder, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
      if (errno != ENOENT)
        Report(path, errno);
      return;
    }
    if (S_ISDIR(status.st_mode)) {
      // Hidden folders are no part of a card's recordings: a Trash (".Trash-1000") holds clips
      // the user deleted, which converting would bring back, and programs keep their own there.
      if (name.starts_with("."))
        return;
      Descriptor below(
          ::openat(folder, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
      if (below.get() >= 0)
        Folder(below.get(), Join(relative, name));
      else if (errno != ENOENT)
        Report(path, errno);
      return;
    }
    bool folderLink = S_ISLNK(status.st_mode) && ::fstatat(folder, name.c_str(), &status, 0) == 0 &&
                      S_ISDIR(status.st_mode);
    if (!folderLink && MatchesPattern(name, "*.qvj"))
      found_.push_back({path, relative, PathLengthRefusal(path)});
  }

  void Report(const std::string &path, int error) {
    found_.push_back({path, std::nullopt, ReadErrorMessage(error, path)});
  }

  std::vector<FoundClip> &found_;
  const std::string &root_;
};

} // namespace

void SearchFolder(std::vector<FoundClip> &found, const std::string &root) {
  Descriptor folder(::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.get() >= 0)
    Search(found, root).Folder(folder.get(), "");
  else
    found.push_back({root, std::nullopt, ReadErrorMessage(errno, root)});
}

} // namespace reelcraft
