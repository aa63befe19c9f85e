// SPDX-License-Identifier: MIT
#pragma once

#include "engine/interfaces.h"
#include "sys/message_sink.h"

#include <string>

namespace reelcraft {

enum class ClipOutcome {
  Converted,
  Failed,
  Skipped,     // refused before any work: the output exists
  Interrupted, // the cancel flag stopped it; nothing written
};

// Converts the clip at `clip` into an AVI file at `output`, all or nothing: the output appears
// only complete, and an existing one is kept unless `replace`. Every reason for a failure is
// shown on `messages`. A clip whose later pictures are missing is converted as far as it goes
// (the engine has said so); a cancelled one leaves nothing.
ClipOutcome ConvertClipToAvi(const std::string &clip, const std::string &output, bool replace,
                             const ProgressControl *progress, CancelFlag &cancelFlag,
                             MessageSink &messages);

} // namespace reelcraft
