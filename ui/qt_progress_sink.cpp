// SPDX-License-Identifier: MIT
#include "ui/qt_progress_sink.h"

#include <QProgressBar>

namespace reelcraft {

QtProgressSink::QtProgressSink(QProgressBar &bar) : bar_(bar) {}

void QtProgressSink::SetRange(uint32_t low, uint32_t high) {
  scale_.SetRange(low, high);
  bar_.setRange(0, scale_.Top());
  Show();
}

void QtProgressSink::SetStep(uint32_t step) { scale_.SetStep(step); }

void QtProgressSink::SetPosition(uint32_t position) {
  scale_.SetPosition(position);
  Show();
}

void QtProgressSink::StepIt() {
  scale_.StepIt();
  Show();
}

void QtProgressSink::Show() { bar_.setValue(scale_.Value()); }

} // namespace reelcraft
