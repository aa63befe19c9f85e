#pragma once

#include "engine/cancel_flag.h"
#include "platform/message_sink.h"

#include <string>

namespace reelcraft {

enum ExitStatus { kExitConverted = 0, kExitFailed = 1, kExitUsage = 2 };

// Converts the clip at `clip` into an AVI file at `output`, all or nothing: the output appears
// only complete, and an existing one is kept unless `replace`. Every reason for a failure is
// shown on `messages`. A clip that ends before its frame count, and a cancelled run, fail.
ExitStatus ConvertClipToAvi(const std::string &clip, const std::string &output, bool replace,
                            CancelFlag &cancelFlag, MessageSink &messages);

} // namespace reelcraft
