// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace reelcraft {

// The arithmetic of a progress bar whose values are ints, for the engine's 32-bit unsigned
// range: a range wider than an int is scaled down, and a position outside the range shows as
// empty or full (the bar would ignore it). The bar runs from 0 to Top().
class ProgressScale {
public:
  void SetRange(uint32_t low, uint32_t high);
  void SetStep(uint32_t step) { step_ = step; }
  void SetPosition(uint32_t position) { position_ = position; }
  void StepIt() { position_ += step_; }

  int Top() const;
  // The bar's value for the position.
  int Value() const;
  // The step as the bar counts it.
  int Step() const;

private:
  uint32_t low_ = 0;
  uint32_t high_ = 100;
  uint32_t step_ = 10;
  // Wider than the range's type so that steps past the high bound stay there.
  uint64_t position_ = 0;
  int shift_ = 0;
};

} // namespace reelcraft
