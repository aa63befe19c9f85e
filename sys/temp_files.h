// SPDX-License-Identifier: MIT
#pragma once

#include "sys/file_identity.h"

#include <optional>
#include <string>

namespace reelcraft {

// Files under temporary names: reserved in the temporary folder, or staged beside their final
// path until they are complete.

// The system's temporary folder ($TMPDIR, else /tmp), without a trailing '/' (the root stays
// "/"); nullopt when it is too long for a path buffer to hold a name in it.
std::optional<std::string> TempFolder();

// Creates a new empty file in `folder` named `prefix` + up to four hexadecimal digits + ".tmp",
// exclusively (never an existing file), with `mode` less the umask, and gives its path and
// identity; an empty path on failure, errno telling why.
FileRef ReserveTempName(const std::string &folder, const std::string &prefix, unsigned mode);

// A file written under a temporary name in the folder of its final path and put in place, in
// one rename, only when it is complete; so the final path never holds a partial file. The
// temporary file is removed unless it was put in place.
class StagedFile {
public:
  StagedFile() = default;
  ~StagedFile();
  StagedFile(const StagedFile &) = delete;
  StagedFile &operator=(const StagedFile &) = delete;

  // Creates the temporary file, empty, beside `finalPath`, under a name that the folder takes
  // however long `finalPath`'s own name is.
  bool Reserve(const std::string &finalPath);
  // The temporary file, with its identity: write it only through that.
  const FileRef &temporaryFile() const { return temporary_; }
  // Renames the temporary file to the final path, only while its name still stands for the
  // file created (else EPERM). Without `replace`, an existing file at the final path is kept
  // and the commit fails with EEXIST.
  bool Commit(bool replace);

  int error() const { return error_; }

private:
  std::string finalPath_;
  FileRef temporary_{""};
  int error_ = 0;
};

} // namespace reelcraft
