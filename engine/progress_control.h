#pragma once

#include "engine/progress_sink.h"
#include "engine/pump.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace reelcraft {

// The caller's progress bar and the pump that keeps its window live. The engine takes a
// pointer: none means no progress reports and no pumping at all.
struct ProgressControl {
  ProgressSink &sink;
  Pump &pump;
};

// A progress bar's values are 32-bit; a larger one shows as full.
inline uint32_t ProgressBound(uint64_t value) {
  return uint32_t(std::min<uint64_t>(value, std::numeric_limits<uint32_t>::max()));
}

} // namespace reelcraft
