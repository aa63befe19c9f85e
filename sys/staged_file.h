#pragma once

#include "sys/file_identity.h"

#include <string>

namespace reelcraft {

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
