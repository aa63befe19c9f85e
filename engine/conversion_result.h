// SPDX-License-Identifier: MIT
#pragma once

#include "sys/message_sink.h"

#include <cstdint>
#include <optional>
#include <string>
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
  // With salvage: pictures found and left out, the damaged and those of another size (another
  // camera's, from a cross-linked cluster); the length of a clip that ends inside a picture.
  uint32_t picturesLeftOut = 0;
  uint32_t picturesForeign = 0;
  std::optional<uint64_t> cutShortAt;
  // With salvage: the header's fields that were not read from the clip (it has none that can be
  // read), and where its header disagrees with the data ("the header names 10 pictures; 90
  // found").
  std::vector<std::string> headerGuessed;
  std::vector<std::string> headerDisagrees;
  // The file does not begin as a clip: a salvage may still find its pictures.
  bool unrecognisedFormat = false;

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
