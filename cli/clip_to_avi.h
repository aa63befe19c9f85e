// SPDX-License-Identifier: MIT
#pragma once

#include "engine/conversion_result.h"
#include "engine/interfaces.h"
#include "sys/message_sink.h"
#include "sys/run_outputs.h"

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

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
  // With salvage: the damaged stretches passed over.
  std::optional<size_t> damagedStretches = std::nullopt;
  uint32_t picturesLeftOut = 0;
  uint32_t picturesForeign = 0;
  std::vector<std::string> headerGuessed = {};
};

// How each clip of a run is converted.
struct ClipChoices {
  bool replace = false; // an existing output is replaced
  bool salvage = false; // damage is passed over rather than ending the pictures
  // With salvage, for a clip without a header that can be read: another clip's of the camera.
  std::optional<ClipHeader> like = std::nullopt;
};

// The AVI files a run has put in place, shared by its worker threads.
struct PlacedOutputs {
  std::mutex mutex;
  RunOutputs outputs;
};

// Converts the clip at `clip` into an AVI file at `output`, all or nothing: the output appears
// only complete, and an existing one is kept unless `choices.replace`. Every reason for a failure
// is shown on `messages`. A clip whose later pictures are missing, or whose damage a salvage
// passed over, is converted as far as it goes and kept as incomplete, which is said on `messages`
// too; a cancelled one leaves nothing. With `placed`, an AVI that another clip of the run put in
// place is never replaced (the clip is skipped), and this one's is recorded there.
ClipOutcome ConvertClipToAvi(const std::string &clip, const std::string &output,
                             ClipChoices choices, const ProgressControl *progress,
                             CancelFlag &cancelFlag, MessageSink &messages,
                             PlacedOutputs *placed = nullptr);

// "salvaged 412 of 420 pictures; 6 damaged and 2 from another camera left out; 3 damaged
// stretches (first at byte 1048576)", then a cut, the header's disagreements and guesses.
std::string SalvageReport(const ConversionResult &result);

// The line that follows the message about a file that does not begin as a clip.
extern const char kUnrecognisedHint[];

} // namespace reelcraft
