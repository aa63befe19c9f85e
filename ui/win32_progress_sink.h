// SPDX-License-Identifier: MIT
#pragma once

#include "engine/interfaces.h"
#include "ui/progress_scale.h"

#include <cstdint>
#include <windows.h>

namespace reelcraft {

// Drives a progress bar control, whose values are ints, through a ProgressScale. Steps are
// counted here rather than by the control's PBM_STEPIT, which starts over once past the end.
class Win32ProgressSink : public ProgressSink {
public:
  explicit Win32ProgressSink(HWND bar);

  void SetRange(uint32_t low, uint32_t high) override;
  void SetStep(uint32_t step) override;
  void SetPosition(uint32_t position) override;
  void StepIt() override;

private:
  void Show();

  HWND bar_;
  ProgressScale scale_;
};

} // namespace reelcraft
