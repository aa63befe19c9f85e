// SPDX-License-Identifier: MIT
#pragma once

#include "engine/interfaces.h"

#include <atomic>

namespace reelcraft {

// The progress bar of one conversion, turned into the share of the clip done, so that a
// display on another thread can read it at any time. A clip with sound fills the bar twice,
// first for the separation (step 512), then for the pictures (step 1); each pass counts half.
class ClipProgress : public ProgressSink {
public:
  void SetRange(uint32_t low, uint32_t high) override;
  void SetStep(uint32_t step) override;
  void SetPosition(uint32_t position) override;
  void StepIt() override;

  // From 0 to 1.
  double Fraction() const;

private:
  std::atomic<uint32_t> low_{0};
  std::atomic<uint32_t> high_{0};
  std::atomic<uint32_t> position_{0};
  std::atomic<uint32_t> step_{0};
  std::atomic<int> passes_{0}; // ranges set so far
  std::atomic<bool> twoPasses_{false};
};

} // namespace reelcraft
