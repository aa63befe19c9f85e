// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>

namespace reelcraft {

// From now on, an interrupt (SIGINT, SIGTERM, SIGHUP) sets `flag` to its signal number instead
// of ending the process, so that a running conversion stops at its next picture and cleans up;
// further interrupts change nothing. A system call that an interrupt cuts short fails with EINTR
// rather than starting again. `flag` must live as long as the process.
void RaiseFlagOnInterrupt(std::atomic<int> &flag);

} // namespace reelcraft
