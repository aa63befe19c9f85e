#pragma once

#include "platform/message_sink.h"

#include <optional>
#include <string>

namespace reelcraft {

// The two temporary files of the audio path, reserved in the temporary folder ("qvj" names,
// the picture file's first) and deleted when the object goes, whatever happened in between.
class SeparationFiles {
public:
  explicit SeparationFiles(const std::optional<std::string> &folder);
  ~SeparationFiles();
  SeparationFiles(const SeparationFiles &) = delete;
  SeparationFiles &operator=(const SeparationFiles &) = delete;

  bool reserved() const { return !pictures_.empty() && !audio_.empty(); }
  // When not reserved: the folder and the system's reason.
  const FileFailure &failure() const { return failure_; }
  const std::string &pictures() const { return pictures_; }
  const std::string &audio() const { return audio_; }

private:
  std::string pictures_;
  std::string audio_;
  FileFailure failure_;
};

} // namespace reelcraft
