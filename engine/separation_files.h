// SPDX-License-Identifier: MIT
#pragma once

#include "sys/file_identity.h"
#include "sys/message_sink.h"

#include <optional>
#include <string>

namespace reelcraft {

// The two temporary files of the audio path, reserved in the temporary folder ("qvj" names,
// the picture file's first, readable by the owner only) and deleted when the object goes,
// whatever happened in between. Each is used again only through its identity.
class SeparationFiles {
public:
  explicit SeparationFiles(const std::optional<std::string> &folder);
  ~SeparationFiles();
  SeparationFiles(const SeparationFiles &) = delete;
  SeparationFiles &operator=(const SeparationFiles &) = delete;

  bool reserved() const { return !pictures_.path.empty() && !audio_.path.empty(); }
  // When not reserved: the folder and the system's reason.
  const FileFailure &failure() const { return failure_; }
  const FileRef &pictures() const { return pictures_; }
  const FileRef &audio() const { return audio_; }

private:
  FileRef pictures_{""};
  FileRef audio_{""};
  FileFailure failure_;
};

} // namespace reelcraft
