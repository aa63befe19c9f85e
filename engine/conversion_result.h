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

// What stopped a failed conversion.
enum class FailureKind {
  ClipNotOpened, // the clip cannot be opened
  ClipNotRead,   // reading the clip failed
  NotAClip,      // too short for a header, or it does not begin as a clip
  NoPicture,     // no picture where the data begins
  AviNotWritten, // the AVI cannot be made or written, as on a full or pulled-out disk
  SoundNotKept,  // the sound gathered on the way cannot be kept, as in a full temporary folder
};

struct ConversionFailure {
  FailureKind kind = FailureKind::AviNotWritten;
  // The file it concerns, and the system's error code (errno; 0 when there is none).
  FileFailure file;
  // The engine's messages have told the user, and why; otherwise telling is the caller's.
  bool told = false;
};

// What one conversion came to. Every caller decides from this alone: whether the AVI is whole,
// whether the clip may go, what to tell the user.
struct ConversionResult {
  ConversionState state = ConversionState::Failed;
  // Frames in the AVI, and the pictures the clip's header names (one at least: a clip that names
  // none still gives one frame).
  uint32_t picturesWritten = 0;
  uint32_t picturesExpected = 0;
  // Failed: what failed, always.
  std::optional<ConversionFailure> failure;
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

// Marks `result` failed, keeping the first failure noted: the later ones follow from it.
inline void NoteFailure(ConversionResult &result, FailureKind kind, FileFailure file) {
  result.state = ConversionState::Failed;
  if (!result.failure)
    result.failure = ConversionFailure{kind, std::move(file), false};
}

// Tells the user through `messages` and notes the failure as told, in one step, so that the
// result and the messages never disagree.
inline void TellFailure(ConversionResult &result, MessageSink &messages, const std::string &text,
                        FailureKind kind, FileFailure file) {
  messages.Show(text);
  result.state = ConversionState::Failed;
  if (!result.failure)
    result.failure = ConversionFailure{kind, std::move(file), true};
}

} // namespace reelcraft
