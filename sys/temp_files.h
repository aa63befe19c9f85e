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
// identity; an empty path on failure, errno telling why. With `lock`, the file stays open there
// under an exclusive lock, which marks it as in use for as long as the caller holds it.
FileRef ReserveTempName(const std::string &folder, const std::string &prefix, unsigned mode,
                        Descriptor *lock = nullptr);

// Removes what runs of ours that ended without cleaning up (kill -9, a crash, a card pulled out)
// left in `folder` under the names of our temporary files: only files of those names that are
// not locked by a live run and were last written before this process started. Once a process
// and folder; a folder that cannot be read is left alone.
void RemoveStaleTemporaries(const std::string &folder);

// A file of this process's own in a temporary folder, readable by the owner alone, gone when
// the object goes. It is made without a name where the file system allows it, so that it goes
// with the process however that ends (kill -9 and the out-of-memory killer included);
// elsewhere under a reserved "qvj" name, locked while in use and removed while that name still
// stands for it (a later run removes it where this one could not).
class ScratchFile {
public:
  ScratchFile() = default;
  ~ScratchFile();
  ScratchFile(const ScratchFile &) = delete;
  ScratchFile &operator=(const ScratchFile &) = delete;

  // Creates it, empty, in `folder`, with `mode` less the umask (by default readable by the
  // owner alone, however open the folder is); false with errno set on failure.
  bool Create(const std::string &folder, unsigned mode = 0600);
  // The file: write and read it only through this. Without a name, its path is the folder's.
  const FileRef &file() const { return file_; }
  // Keeps the file when the object goes, under a new name of its folder, "qvj" + up to four
  // hexadecimal digits + `extension`, never an existing file's; its path is then that name.
  bool Keep(const std::string &extension);
  bool kept() const { return kept_; }

private:
  FileRef file_{""};
  Descriptor unnamed_;
  Descriptor lock_;
  bool kept_ = false;
};

// A file written in the folder of its final path and put in place only when it is complete; so
// the final path never holds a partial file. Where the file system allows it, the file has no
// name until then, so that a process that ends in any way leaves nothing; elsewhere it is
// written under a hidden temporary name, locked while in use and removed unless it was put in
// place; a later run into the folder removes one that a run ended in any way left.
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
#ifdef _WIN32
  std::string hiddenPath_; // the name of a file without one elsewhere, which goes with its handle
#endif
  FileRef temporary_{""};
  Descriptor unnamed_;
  Descriptor lock_;
  int error_ = 0;
};

} // namespace reelcraft
