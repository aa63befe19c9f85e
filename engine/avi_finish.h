// SPDX-License-Identifier: MIT
#pragma once

#include "avi/avi_file.h"
#include "sys/message_sink.h"

#include <string>

namespace reelcraft {

// Releases the AVI file at `path` and gives whether it holds all that was `written`. A file
// whose writes failed leaves its place and the system's reason with `messages`.
bool FinishAvi(AviFile &avi, bool written, const std::string &path, MessageSink &messages);

} // namespace reelcraft
