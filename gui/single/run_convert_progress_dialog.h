// SPDX-License-Identifier: MIT
#pragma once

#include "app/command_line.h"
#include "desktop/shell.h"
#include "sys/message_sink.h"

namespace reelcraft {

// Runs the single-clip conversion dialog on a request from the command line, without a parent
// window. Gives 2 when the user declined the conversion, 1 for every other ending.
int RunConvertProgressDialog(const SingleClipRequest &request, MessageSink &messages,
                             const Shell &shell);

} // namespace reelcraft
