// SPDX-License-Identifier: MIT
#include "sys/temp_names.h"

#include "sys/file_system.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <mutex>
#include <set>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace reelcraft {

namespace {

size_t LongestName(const std::string &folder) {
#ifdef _WIN32
  (void)folder;
  return 255;
#else
  long limit = ::pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
  return limit > 0 ? size_t(limit) : NAME_MAX;
#endif
}

bool IsHex(std::string_view text, bool upper) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [upper](char c) {
    return (c >= '0' && c <= '9') || (upper ? (c >= 'A' && c <= 'F') : (c >= 'a' && c <= 'f'));
  });
}

} // namespace

std::string NameFor(const std::string &folder, const std::string &prefix, unsigned number) {
  char digits[8];
  std::snprintf(digits, sizeof digits, "%X", number);
  bool root = !folder.empty() && (folder.back() == '/' || folder.back() == '\\');
  return folder + (root ? "" : std::string(1, kPathSeparator)) + prefix + digits + ".tmp";
}

std::string TemporaryName(const std::string &finalPath, std::mt19937 &random) {
  std::string name = FileName(finalPath);
  std::string folder = finalPath.substr(0, finalPath.size() - name.size());
  char suffix[16];
  std::snprintf(suffix, sizeof suffix, ".%08x.tmp", unsigned(random()));
  // Hidden, so that a file manager showing the folder does not offer it while it grows; cut
  // short where the whole name would pass the longest the folder takes.
  size_t room = LongestName(folder) - 1 - std::string(suffix).size();
  return folder + "." + name.substr(0, room) + suffix;
}

bool IsTemporaryName(std::string_view name) {
#ifdef _WIN32
  // The system names the reserved files itself, in either case ("qvj1A2B.TMP", wine's
  // "qvj1a2b.tmp").
  if ((name.ends_with(".TMP") || name.ends_with(".tmp")) && name.starts_with("qvj") &&
      name.size() <= 3 + 4 + 4 && name.size() > 3 + 4)
    return IsHex(name.substr(3, name.size() - 7), true) ||
           IsHex(name.substr(3, name.size() - 7), false);
#endif
  if (!name.ends_with(".tmp"))
    return false;
  name.remove_suffix(4);
  if (name.starts_with("qvj") && name.size() <= 3 + 4)
    return IsHex(name.substr(3), true);
  return name.size() > 1 + 1 + 9 && name.front() == '.' && name[name.size() - 9] == '.' &&
         IsHex(name.substr(name.size() - 8), false);
}

bool LinkInPlace(const std::string &finalPath, bool replace,
                 const std::optional<FileIdentity> &identity,
                 const std::function<bool(const std::string &name)> &linkAs) {
  // A link never replaces: it fails with EEXIST, as a commit without `replace` must.
  if (!replace)
    return linkAs(finalPath);
  std::mt19937 random{std::random_device{}()};
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string linked = TemporaryName(finalPath, random);
    if (!linkAs(linked)) {
      if (errno == EEXIST)
        continue;
      return false;
    }
    if (RenamePath(linked, finalPath))
      return true;
    // A name swapped for someone else's file is not ours to remove.
    int error = errno;
    if (StillSameFile(FileRef(linked, identity)))
      DeletePath(linked);
    errno = error;
    return false;
  }
  return false;
}

bool FirstSweepOf(const std::string &folder) {
  // Only a memory of work done.
  static std::mutex mutex;
  static std::set<std::string> swept;
  std::lock_guard hold(mutex);
  return swept.insert(folder.empty() ? "." : folder).second;
}

} // namespace reelcraft
