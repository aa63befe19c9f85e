// SPDX-License-Identifier: MIT
#pragma once

#include "desktop/shell.h"
#include "sys/message_sink.h"

#include <string>

namespace reelcraft {

// Opens an AVI file in the system's player. When the desktop has no program for AVI files, or
// it could not be started, a box says so: the click would otherwise do nothing at all.
void PlayMediaFile(const Shell &shell, MessageSink &messages, const std::string &path);

} // namespace reelcraft
