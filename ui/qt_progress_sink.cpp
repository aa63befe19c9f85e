// SPDX-License-Identifier: MIT
#include "ui/qt_progress_sink.h"

#include <QProgressBar>

#include <algorithm>
#include <climits>

namespace reelcraft {

QtProgressSink::QtProgressSink(QProgressBar &bar) : bar_(bar) {}

// The bar runs from 0 to (high - low) >> shift_, the smallest shift that fits an int.
void QtProgressSink::SetRange(uint32_t low, uint32_t high) {
  low_ = low;
  high_ = std::max(low, high);
  uint64_t span = high_ - low_;
  shift_ = 0;
  while ((span >> shift_) > uint64_t(INT_MAX))
    ++shift_;
  bar_.setRange(0, int(span >> shift_));
  Show();
}

void QtProgressSink::SetStep(uint32_t step) { step_ = step; }

void QtProgressSink::SetPosition(uint32_t position) {
  position_ = position;
  Show();
}

void QtProgressSink::StepIt() {
  position_ += step_;
  Show();
}

void QtProgressSink::Show() {
  uint64_t clamped = std::clamp<uint64_t>(position_, low_, high_);
  bar_.setValue(int((clamped - low_) >> shift_));
}

} // namespace reelcraft
