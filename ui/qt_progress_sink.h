// SPDX-License-Identifier: MIT
#pragma once

#include "engine/interfaces.h"
#include "ui/progress_scale.h"

#include <cstdint>

class QProgressBar;

namespace reelcraft {

// Drives a QProgressBar, whose values are ints, through a ProgressScale.
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
  ProgressScale scale_;
};

} // namespace reelcraft
