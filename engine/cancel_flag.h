#pragma once

#include <atomic>

namespace reelcraft {

// 0: go on; any other value: stop. Owned by the caller, set by its Cancel command, cleared by
// the engine when a conversion path starts. Atomic because the command-line converter sets it
// from a signal while conversions run on worker threads.
using CancelFlag = std::atomic<int>;

} // namespace reelcraft
