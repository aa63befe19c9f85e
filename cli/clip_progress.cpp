// SPDX-License-Identifier: MIT
#include "cli/clip_progress.h"

#include <algorithm>

namespace reelcraft {

namespace {
// The separation of a clip with sound is the only phase that steps by blocks.
constexpr uint32_t kSeparationStep = 512;
} // namespace

void ClipProgress::SetRange(uint32_t low, uint32_t high) {
  low_ = low;
  high_ = high;
  position_ = low;
  ++passes_;
}

void ClipProgress::SetStep(uint32_t step) {
  step_ = step;
  if (step == kSeparationStep && passes_ == 1)
    twoPasses_ = true;
}

void ClipProgress::SetPosition(uint32_t position) { position_ = position; }

void ClipProgress::StepIt() { position_ += step_; }

double ClipProgress::Fraction() const {
  int passes = passes_;
  if (passes == 0)
    return 0;
  uint32_t low = low_, high = high_, position = position_;
  double pass =
      high > low ? std::clamp(double(position) - low, 0.0, double(high - low)) / double(high - low)
                 : 1.0;
  double expected = twoPasses_ ? 2 : 1;
  return std::min((passes - 1 + pass) / expected, 1.0);
}

} // namespace reelcraft
