// SPDX-License-Identifier: MIT
#include "cli/clip_search.h"

#include "sys/directory_search.h"
#include "sys/error_text.h"

#include <algorithm>
#include <cerrno>
#include <sys/stat.h>

namespace reelcraft {

namespace {

enum class EntryKind { Missing, Folder, FolderLink, Other };

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

std::string Join(const std::string &folder, const std::string &name) {
  return folder.empty() ? name : folder.ends_with('/') ? folder + name : folder + "/" + name;
}

class Search {
public:
  explicit Search(std::vector<FoundClip> &found) : found_(found) {}

  void Folder(const std::string &root, const std::string &relative) {
    std::string folder = Join(root, relative);
    DirectoryEntries entries = ReadDirectoryEntries(folder);
    int error = entries.opened ? entries.error : errno;
    if (error != 0)
      found_.push_back({folder, std::nullopt, ReadErrorMessage(error, folder)});
    if (!entries.opened)
      return;
    std::sort(entries.names.begin(), entries.names.end());
    for (const std::string &name : entries.names) {
      if (name == "." || name == "..")
        continue;
      std::string path = Join(folder, name);
      EntryKind kind = KindOf(path);
      if (kind == EntryKind::Folder)
        Folder(root, Join(relative, name));
      else if (kind != EntryKind::FolderLink && MatchesPattern(name, "*.qvj"))
        found_.push_back({path, relative, {}});
    }
  }

private:
  std::vector<FoundClip> &found_;
};

} // namespace

std::vector<FoundClip> FindClips(const std::vector<std::string> &arguments, bool recursive) {
  std::vector<FoundClip> found;
  for (const std::string &argument : arguments) {
    if (KindOf(argument) != EntryKind::Folder && KindOf(argument) != EntryKind::FolderLink)
      found.push_back({argument, std::nullopt, {}});
    else if (!recursive)
      found.push_back({argument, std::nullopt, "is a folder (use -r to convert the clips in it)"});
    else
      Search(found).Folder(argument, "");
  }
  return found;
}

} // namespace reelcraft
