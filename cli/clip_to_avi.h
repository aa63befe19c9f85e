// SPDX-License-Identifier: MIT
#pragma once

#include "engine/interfaces.h"
#include "sys/message_sink.h"

#include <cstdint>
#include <string>

namespace reelcraft {

enum class ClipState {
  Converted,
  Incomplete, // the AVI was kept, with fewer pictures than the clip names
  Failed,
  Skipped,     // refused before any work: the output exists
  Interrupted, // the cancel flag stopped it; nothing written
};

struct ClipOutcome {
  ClipState state = ClipState::Failed;
  // Converted or incomplete: the pictures in the AVI, and those the clip names.
  uint32_t picturesWritten = 0;
  uint32_t picturesExpected = 0;
};

// Converts the clip at `clip` into an AVI file at `output`, all or nothing: the output appears
// only complete, and an existing one is kept unless `replace`. Every reason for a failure is
// shown on `messages`. A clip whose later pictures are missing is converted as far as it goes
// and kept as incomplete, which is said on `messages` too; a cancelled one leaves nothing.
ClipOutcome ConvertClipToAvi(const std::string &clip, const std::string &output, bool replace,
                             const ProgressControl *progress, CancelFlag &cancelFlag,
                             MessageSink &messages);

} // namespace reelcraft
