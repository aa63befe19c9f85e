// SPDX-License-Identifier: MIT
#pragma once

#include "sys/message_sink.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace reelcraft {

enum class ConversionState {
  Done,       // every picture the clip names, and its sound, are in the AVI
  Incomplete, // the clip ended early, or salvage passed over damage: the AVI is not all of it
  Cancelled,  // the cancel flag stopped it
  Failed,
};

// A stretch of a clip that salvage passed over because no picture in it held together, in bytes
// from the start of the clip file.
struct DamagedStretch {
  uint64_t begin = 0;
  uint64_t end = 0;
  bool operator==(const DamagedStretch &) const = default;
};

// What one conversion came to. Every caller decides from this alone: whether the AVI is whole,
// whether the clip may go, what to tell the user.
struct ConversionResult {
  ConversionState state = ConversionState::Failed;
  // Frames in the AVI, and the pictures the clip's header names (one at least: a clip that names
  // none still gives one frame).
  uint32_t picturesWritten = 0;
  uint32_t picturesExpected = 0;
  // Failed: the place and the system's reason (0 when there is none) of a failure that no
  // shown message names, such as a full disk. Without it, a shown message has said why.
  std::optional<FileFailure> cause;
  // With salvage: the stretches passed over, in order.
  std::vector<DamagedStretch> damaged;

  // An AVI was written that the caller may keep.
  bool HasAvi() const {
    return state == ConversionState::Done || state == ConversionState::Incomplete;
  }
};

// Marks `result` failed, keeping the first cause noted.
inline void NoteFailure(ConversionResult &result, std::optional<FileFailure> cause = std::nullopt) {
  result.state = ConversionState::Failed;
  if (!result.cause)
    result.cause = std::move(cause);
}

} // namespace reelcraft
