// SPDX-License-Identifier: MIT
#pragma once

#include "engine/interfaces.h"

#include <cstdint>

class QProgressBar;

namespace reelcraft {

// Drives a QProgressBar, whose values are ints: a range wider than an int is scaled down, and a
// position outside the range shows as empty or full (the bar would ignore it).
class QtProgressSink : public ProgressSink {
public:
  explicit QtProgressSink(QProgressBar &bar);

  void SetRange(uint32_t low, uint32_t high) override;
  void SetStep(uint32_t step) override;
  void SetPosition(uint32_t position) override;
  void StepIt() override;

private:
  void Show();

  QProgressBar &bar_;
  uint32_t low_ = 0;
  uint32_t high_ = 100;
  uint32_t step_ = 10;
  // Wider than the range's type so that steps past the high bound stay there.
  uint64_t position_ = 0;
  int shift_ = 0;
};

} // namespace reelcraft
