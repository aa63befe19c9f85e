// SPDX-License-Identifier: MIT
#include "sys/run_outputs.h"

#include "sys/directory_search.h"
#include "sys/file_system.h"

#include <algorithm>
#include <vector>

namespace reelcraft {

namespace {

std::string SwapCase(std::string name) {
  for (char &c : name) {
    if (c >= 'a' && c <= 'z')
      c = char(c - 'a' + 'A');
    else if (c >= 'A' && c <= 'Z')
      c = char(c - 'A' + 'a');
  }
  return name;
}

std::string LowerCase(std::string name) {
  std::transform(name.begin(), name.end(), name.begin(),
                 [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
  return name;
}

std::string FolderKey(const FileIdentity &folder) {
  return std::to_string(folder.device) + ":" + std::to_string(folder.inode);
}

} // namespace

bool FolderIgnoresCase(const std::string &folder, const std::string &name) {
  std::string swapped = SwapCase(name);
  if (swapped == name)
    return false;
  bool ends = !folder.empty() && (folder.back() == '/' || folder.back() == kPathSeparator);
  std::string prefix = folder.empty() || ends ? folder : folder + kPathSeparator;
  std::optional<FileIdentity> entry = IdentityOfPath(prefix + name);
  std::optional<FileIdentity> other = IdentityOfPath(prefix + swapped);
  if (!entry || !other)
    return false;
  if (*entry == *other)
    return true;
  // A driver that numbers its files anew for every name: the swapped name is no entry of its
  // own in the folder's listing.
  std::vector<std::string> names = ReadDirectoryEntries(folder.empty() ? "." : folder).names;
  return std::find(names.begin(), names.end(), swapped) == names.end();
}

std::optional<std::string> RunOutputs::NameKey(const std::string &path) const {
  std::string folder = ParentFolder(path);
  std::optional<FileIdentity> identity = IdentityOfPath(folder);
  if (!identity)
    return std::nullopt;
  std::string key = FolderKey(*identity);
  auto kind = ignoresCase_.find(key);
  bool fold = kind != ignoresCase_.end() && kind->second;
  return key + "/" + (fold ? LowerCase(FileName(path)) : FileName(path));
}

std::optional<std::string> RunOutputs::OwnerOf(const std::string &path) const {
  if (std::optional<FileIdentity> file = IdentityOfPath(path)) {
    if (auto found = files_.find(*file); found != files_.end())
      return found->second;
  }
  if (std::optional<std::string> key = NameKey(path)) {
    if (auto found = names_.find(*key); found != names_.end())
      return found->second;
  }
  return std::nullopt;
}

void RunOutputs::Record(const std::string &path, const std::string &owner) {
  if (std::optional<FileIdentity> file = IdentityOfPath(path))
    files_.emplace(*file, owner);
  std::string folder = ParentFolder(path);
  if (std::optional<FileIdentity> identity = IdentityOfPath(folder)) {
    std::string key = FolderKey(*identity);
    if (!ignoresCase_.contains(key))
      ignoresCase_[key] = FolderIgnoresCase(folder, FileName(path));
  }
  if (std::optional<std::string> key = NameKey(path))
    names_.emplace(*key, owner);
}

} // namespace reelcraft
