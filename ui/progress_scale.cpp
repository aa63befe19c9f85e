// SPDX-License-Identifier: MIT
#include "ui/progress_scale.h"

#include <algorithm>
#include <climits>

namespace reelcraft {

// The bar's top is (high - low) >> shift_, with the smallest shift that fits an int.
void ProgressScale::SetRange(uint32_t low, uint32_t high) {
  low_ = low;
  high_ = std::max(low, high);
  shift_ = 0;
  while ((uint64_t(high_ - low_) >> shift_) > uint64_t(INT_MAX))
    ++shift_;
}

int ProgressScale::Top() const { return int((high_ - low_) >> shift_); }

int ProgressScale::Value() const {
  uint64_t clamped = std::clamp<uint64_t>(position_, low_, high_);
  return int((clamped - low_) >> shift_);
}

int ProgressScale::Step() const { return int(std::min<uint64_t>(step_ >> shift_, INT_MAX)); }

} // namespace reelcraft
