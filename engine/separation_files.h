// SPDX-License-Identifier: MIT
#pragma once

#include "sys/file_identity.h"
#include "sys/message_sink.h"
#include "sys/temp_files.h"

#include <optional>
#include <string>

namespace reelcraft {

// The two temporary files of the audio path, the picture file's first, made in the temporary
// folder (readable by the owner only; see ScratchFile) and gone when the object goes, whatever
// happened in between. Each is used again only through its FileRef.
class SeparationFiles {
public:
  explicit SeparationFiles(const std::optional<std::string> &folder);

  bool reserved() const { return reserved_; }
  // When not reserved: the folder and the system's reason.
  const FileFailure &failure() const { return failure_; }
  const FileRef &pictures() const { return pictures_.file(); }
  const FileRef &audio() const { return audio_.file(); }

private:
  ScratchFile pictures_;
  ScratchFile audio_;
  bool reserved_ = false;
  FileFailure failure_;
};

} // namespace reelcraft
