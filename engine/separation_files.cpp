#include "engine/separation_files.h"

#include "platform/file_system.h"
#include "platform/temp_files.h"

#include <cerrno>

namespace reelcraft {

SeparationFiles::SeparationFiles(const std::optional<std::string> &folder) {
  std::optional<std::string> in = folder ? folder : TempFolder();
  if (!in) {
    // Only a $TMPDIR too long to hold a name fails here.
    failure_ = {"$TMPDIR", ENAMETOOLONG};
    return;
  }
  for (std::string *name : {&pictures_, &audio_}) {
    *name = ReserveTempName(*in, "qvj");
    if (name->empty()) {
      failure_ = {*in, errno};
      return;
    }
  }
}

SeparationFiles::~SeparationFiles() {
  if (!audio_.empty())
    DeletePath(audio_);
  if (!pictures_.empty())
    DeletePath(pictures_);
}

} // namespace reelcraft
