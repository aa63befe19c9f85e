#include "engine/separation_files.h"

#include "platform/file_system.h"
#include "platform/temp_files.h"

namespace reelcraft {

SeparationFiles::SeparationFiles(const std::optional<std::string> &folder) {
  std::optional<std::string> in = folder ? folder : TempFolder();
  if (!in)
    return;
  pictures_ = ReserveTempName(*in, "qvj");
  audio_ = ReserveTempName(*in, "qvj");
}

SeparationFiles::~SeparationFiles() {
  if (!audio_.empty())
    DeletePath(audio_);
  if (!pictures_.empty())
    DeletePath(pictures_);
}

} // namespace reelcraft
