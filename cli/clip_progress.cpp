// SPDX-License-Identifier: MIT
#include "cli/clip_progress.h"

#include <algorithm>

namespace reelcraft {

void ClipProgress::SetPhase(ConversionPhase phase) {
  switch (phase) {
  case ConversionPhase::Separation:
    separated_ = true;
    before_ = 0;
    share_ = 0.5;
    break;
  case ConversionPhase::Pictures:
    before_ = separated_ ? 0.5 : 0;
    share_ = separated_ ? 0.5 : 1;
    break;
  case ConversionPhase::Sound:
    return; // the bar stays as the pictures left it
  }
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
    return before_;
  uint32_t low = low_, high = high_, position = position_;
  double fill =
      high > low ? std::clamp(double(position) - low, 0.0, double(high - low)) / double(high - low)
                 : 1.0;
  return std::min(before_ + share_ * fill, 1.0);
}

} // namespace reelcraft
