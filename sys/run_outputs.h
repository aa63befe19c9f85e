// SPDX-License-Identifier: MIT
#pragma once

#include "sys/file_identity.h"

#include <map>
#include <optional>
#include <set>
#include <string>

namespace reelcraft {

// The files that one run has put in place, each with the input it was made from, so that no
// later output of the run replaces one. A file is known by its identity, and in a folder that
// does not tell letter case apart (FAT, exFAT, ext4 with casefold) also by its name without
// regard to ASCII case, as such a folder takes "Clip.avi" and "clip.avi" for one file even
// where it gives no file a lasting identity (some FUSE drivers). Not thread-safe.
class RunOutputs {
public:
  // The input whose output `path` would replace, if any.
  std::optional<std::string> OwnerOf(const std::string &path) const;
  // Records the file now at `path` as the output of `owner`.
  void Record(const std::string &path, const std::string &owner);

private:
  std::optional<std::string> NameKey(const std::string &path) const;

  std::map<FileIdentity, std::string> files_;
  std::map<std::string, std::string> names_;
  std::map<std::string, bool> ignoresCase_; // by the folder's identity, as a key
};

// Whether `folder` takes names without regard to ASCII letter case, judged by an entry `name`
// that it holds: the name with its case swapped leads to that entry too.
bool FolderIgnoresCase(const std::string &folder, const std::string &name);

} // namespace reelcraft
