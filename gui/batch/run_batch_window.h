// SPDX-License-Identifier: MIT
#pragma once

#include "desktop/shell.h"
#include "sys/message_sink.h"

namespace reelcraft {

// Runs the batch window modally as the program's main window, on its default folders, and
// gives the result it closed with: 1 after Exit, 2 after the cancel command.
int RunBatchWindow(MessageSink &messages, const Shell &shell);

} // namespace reelcraft
