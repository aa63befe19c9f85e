// SPDX-License-Identifier: MIT
#pragma once

#include "engine/interfaces.h"
#include "sys/message_sink.h"

#include <string>

namespace reelcraft {

// Converts the clip at `sourcePath` into the AVI file `targetPath` (replaced if present; its
// folder must exist). Gives non-zero (done) when the clip was converted, and also when it was
// cancelled or ended early without an error; 0 after a failure, whose message, if it has one,
// has been shown through `messages`, and whose place and system reason, where no message names
// them (a full disk, a missing temporary folder), have been noted there. A failed or cancelled
// run may leave a partial file at `targetPath`: discarding it is the caller's part. `cancelFlag`
// is cleared once the header has been read and polled between units of work; with a null
// `progress` nothing is reported and no events are pumped.
int ConvertClip(const std::string &sourcePath, const std::string &targetPath,
                const ProgressControl *progress, CancelFlag &cancelFlag, MessageSink &messages,
                const ConvertOptions &options = {});

} // namespace reelcraft
