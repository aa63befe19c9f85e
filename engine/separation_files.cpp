// SPDX-License-Identifier: MIT
#include "engine/separation_files.h"

#include "sys/file_system.h"
#include "sys/temp_files.h"

#include <cerrno>

namespace reelcraft {

namespace {

// The clip's pictures and sound, readable by the owner alone however open the folder is.
constexpr unsigned kPrivateMode = 0600;

void DeleteIfStillOurs(const FileRef &file) {
  if (StillSameFile(file))
    DeletePath(file.path);
}

} // namespace

SeparationFiles::SeparationFiles(const std::optional<std::string> &folder) {
  std::optional<std::string> in = folder ? folder : TempFolder();
  if (!in) {
    // Only a $TMPDIR too long to hold a name fails here.
    failure_ = {"$TMPDIR", ENAMETOOLONG};
    return;
  }
  for (FileRef *file : {&pictures_, &audio_}) {
    *file = ReserveTempName(*in, "qvj", kPrivateMode);
    if (file->path.empty()) {
      failure_ = {*in, errno};
      return;
    }
  }
}

SeparationFiles::~SeparationFiles() {
  DeleteIfStillOurs(audio_);
  DeleteIfStillOurs(pictures_);
}

} // namespace reelcraft
