#pragma once

#include "sys/message_sink.h"

#include <cstdint>
#include <optional>

namespace reelcraft {

enum class ConversionState {
  Done,       // every picture the clip names, and its sound, are in the AVI
  Incomplete, // the AVI holds fewer pictures than the clip names: the clip ended early
  Cancelled,  // the cancel flag stopped it
  Failed,
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
