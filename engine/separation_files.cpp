// SPDX-License-Identifier: MIT
#include "engine/separation_files.h"

#include <cerrno>

namespace reelcraft {

SeparationFiles::SeparationFiles(const std::optional<std::string> &folder) {
  std::optional<std::string> in = folder ? folder : TempFolder();
  if (!in) {
    // Only a $TMPDIR too long to hold a name fails here.
    failure_ = {"$TMPDIR", ENAMETOOLONG};
    return;
  }
  for (ScratchFile *file : {&pictures_, &audio_}) {
    if (!file->Create(*in)) {
      failure_ = {*in, errno};
      return;
    }
  }
  reserved_ = true;
}

} // namespace reelcraft
