// SPDX-License-Identifier: MIT
#pragma once

namespace reelcraft {

// Qt aborts the program (status 134, a core file) when its platform cannot start, most often
// for want of a display. While a guard lives, such a failure prints NoDisplayText's one line
// and ends the program with status 1 instead. Qt's own messages of the start are held back
// meanwhile, and passed on when the guard ends, so that a start that fails says one thing.
class DisplayStartGuard {
public:
  DisplayStartGuard();
  ~DisplayStartGuard();
  DisplayStartGuard(const DisplayStartGuard &) = delete;
  DisplayStartGuard &operator=(const DisplayStartGuard &) = delete;
};

} // namespace reelcraft
