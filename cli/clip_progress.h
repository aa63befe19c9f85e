// SPDX-License-Identifier: MIT
#pragma once

#include "engine/interfaces.h"

#include <atomic>

namespace reelcraft {

// The progress bar of one conversion, turned into the share of the clip done, so that a
// display on another thread can read it at any time. The bar fills once, over the clip's bytes;
// the sound that follows the pictures leaves it full.
class ClipProgress : public ProgressSink {
public:
  void SetPhase(ConversionPhase phase) override;
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
  std::atomic<bool> ranged_{false};
};

} // namespace reelcraft
