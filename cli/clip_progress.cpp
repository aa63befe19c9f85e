// SPDX-License-Identifier: MIT
#include "cli/clip_progress.h"

#include <algorithm>

namespace reelcraft {

void ClipProgress::SetPhase(ConversionPhase phase) {
  if (phase == ConversionPhase::Pictures)
    ranged_ = false;
}

void ClipProgress::SetRange(uint32_t low, uint32_t high) {
  low_ = low;
  high_ = high;
  position_ = low;
  ranged_ = true;
}

void ClipProgress::SetStep(uint32_t step) { step_ = step; }

void ClipProgress::SetPosition(uint32_t position) { position_ = position; }

void ClipProgress::StepIt() { position_ += step_; }

double ClipProgress::Fraction() const {
  if (!ranged_)
    return 0;
  uint32_t low = low_, high = high_, position = position_;
  return high > low
             ? std::clamp(double(position) - low, 0.0, double(high - low)) / double(high - low)
             : 1.0;
}

} // namespace reelcraft
