// SPDX-License-Identifier: MIT
#pragma once

#include "engine/conversion_result.h"
#include "engine/interfaces.h"
#include "sys/message_sink.h"

#include <string>

namespace reelcraft {

// Converts the clip at `sourcePath` into the AVI file `targetPath` (replaced if present; its
// folder must exist), which then carries the clip's modification time. The result says whether
// the AVI is whole (done), ended early (incomplete: later pictures missing or the stream used
// up), was cancelled, or failed; a failure's message, if it has one, has been shown through
// `messages`, and where none names its place and system reason (a full disk, a missing
// temporary folder), the result's cause does. A failed or cancelled run may leave a partial
// file at `targetPath`: discarding it is the caller's part. `cancelFlag` is cleared once the
// header has been read and polled between units of work; with a null `progress` nothing is
// reported and no events are pumped.
ConversionResult ConvertClip(const std::string &sourcePath, const std::string &targetPath,
                             const ProgressControl *progress, CancelFlag &cancelFlag,
                             MessageSink &messages, const ConvertOptions &options = {});

} // namespace reelcraft
