#pragma once

#include "platform/progress_sink.h"
#include "platform/pump.h"

namespace reelcraft {

// The caller's progress bar and the pump that keeps its window live. The engine takes a
// pointer: none means no progress reports and no pumping at all.
struct ProgressControl {
  ProgressSink &sink;
  Pump &pump;
};

} // namespace reelcraft
