// SPDX-License-Identifier: MIT
#pragma once

#include "engine/clip_blocks.h"
#include "sys/file_identity.h"
#include "sys/raw_file.h"
#include "sys/temp_files.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace reelcraft {

// The sound of a clip, gathered while its pictures are written, for the one chunk that follows
// them in the AVI: in memory while it is small, as most clips' is, and past that in one scratch
// file of the temporary folder, which goes with the object (and, where the file system allows
// it, with the process however that ends).
class SoundStore final : public SoundBlockSink {
public:
  static constexpr size_t kHeldInMemory = size_t(4) << 20;

  // `folder`: where the scratch file goes; the system's temporary folder if unset.
  explicit SoundStore(std::optional<std::string> folder) : folder_(std::move(folder)) {}

  bool Take(const uint8_t *sound, size_t size) override;
  uint64_t length() const { return length_; }
  // Hands the sound out in order, `size` bytes a call, once all of it is in; false when it
  // cannot be read back.
  bool ReadBack(void *buffer, size_t size);
  // Where Take or ReadBack failed: the folder or file and the system's reason.
  const std::optional<FileFailure> &failure() const { return failure_; }

private:
  bool Spill();
  bool StartReadingBack();

  std::optional<std::string> folder_;
  std::vector<uint8_t> held_;
  uint64_t length_ = 0;
  ScratchFile scratch_;
  bool scratchMade_ = false;
  RawOutputFile spilled_;
  RawFile readBack_;
  bool reading_ = false;
  size_t readAt_ = 0;
  std::optional<FileFailure> failure_;
};

} // namespace reelcraft
