// SPDX-License-Identifier: MIT
#include "ui/win32_progress_sink.h"

#include <commctrl.h>

namespace reelcraft {

Win32ProgressSink::Win32ProgressSink(HWND bar) : bar_(bar) {}

void Win32ProgressSink::SetRange(uint32_t low, uint32_t high) {
  scale_.SetRange(low, high);
  SendMessageW(bar_, PBM_SETRANGE32, 0, scale_.Top());
  // The control's own step, kept in the same scale for whoever asks the control.
  SendMessageW(bar_, PBM_SETSTEP, WPARAM(scale_.Step()), 0);
  Show();
}

void Win32ProgressSink::SetStep(uint32_t step) {
  scale_.SetStep(step);
  SendMessageW(bar_, PBM_SETSTEP, WPARAM(scale_.Step()), 0);
}

void Win32ProgressSink::SetPosition(uint32_t position) {
  scale_.SetPosition(position);
  Show();
}

void Win32ProgressSink::StepIt() {
  scale_.StepIt();
  Show();
}

void Win32ProgressSink::Show() { SendMessageW(bar_, PBM_SETPOS, WPARAM(scale_.Value()), 0); }

} // namespace reelcraft
