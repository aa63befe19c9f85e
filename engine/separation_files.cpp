#include "engine/separation_files.h"

#include "platform/file_system.h"
#include "platform/temp_files.h"

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
  if (!in)
    return;
  pictures_ = ReserveTempName(*in, "qvj", kPrivateMode);
  audio_ = ReserveTempName(*in, "qvj", kPrivateMode);
}

SeparationFiles::~SeparationFiles() {
  DeleteIfStillOurs(audio_);
  DeleteIfStillOurs(pictures_);
}

} // namespace reelcraft
