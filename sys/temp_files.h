// SPDX-License-Identifier: MIT
#pragma once

#include "sys/descriptor.h"
#include "sys/file_identity.h"

#include <optional>
#include <string>

namespace reelcraft {

// Temporary files: in the temporary folder, or staged beside their final path until they are
// complete.

// The system's temporary folder ($TMPDIR, else /tmp), without a trailing '/' (the root stays
// "/"); nullopt when it is too long for a path buffer to hold a name in it.
std::optional<std::string> TempFolder();

// Creates a new empty file in `folder` named `prefix` + up to four hexadecimal digits + ".tmp",
// exclusively (never an existing file), with `mode` less the umask, and gives its path and
// identity; an empty path on failure, errno telling why.
FileRef ReserveTempName(const std::string &folder, const std::string &prefix, unsigned mode);

// A file of this process's own in a temporary folder, readable by the owner alone, gone when
// the object goes. It is made without a name where the file system allows it, so that it goes
// with the process however that ends (kill -9 and the out-of-memory killer included);
// elsewhere under a reserved "qvj" name, removed while that name still stands for it.
class ScratchFile {
public:
  ScratchFile() = default;
  ~ScratchFile();
  ScratchFile(const ScratchFile &) = delete;
  ScratchFile &operator=(const ScratchFile &) = delete;

  // Creates it, empty, in `folder`; false with errno set on failure.
  bool Create(const std::string &folder);
  // The file: write and read it only through this. Without a name, its path is the folder's.
  const FileRef &file() const { return file_; }

private:
  FileRef file_{""};
  Descriptor unnamed_;
};

// A file written in the folder of its final path and put in place only when it is complete; so
// the final path never holds a partial file. Where the file system allows it, the file has no
// name until then, so that a process that ends in any way leaves nothing; elsewhere it is
// written under a hidden temporary name, removed unless it was put in place.
class StagedFile {
public:
  StagedFile() = default;
  ~StagedFile();
  StagedFile(const StagedFile &) = delete;
  StagedFile &operator=(const StagedFile &) = delete;

  // Creates the file, empty, for `finalPath`; a temporary name is one that the folder takes
  // however long `finalPath`'s own name is.
  bool Reserve(const std::string &finalPath);
  // The file, with its identity: write it only through that. Without a name, its path is the
  // final path, for messages.
  const FileRef &temporaryFile() const { return temporary_; }
  // Gives the file the final path, only while it is still the file created (else EPERM).
  // Without `replace`, an existing file at the final path is kept and the commit fails with
  // EEXIST.
  bool Commit(bool replace);

  int error() const { return error_; }

private:
  bool LinkInPlace(bool replace);

  std::string finalPath_;
  FileRef temporary_{""};
  Descriptor unnamed_;
  int error_ = 0;
};

} // namespace reelcraft
