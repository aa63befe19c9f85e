// SPDX-License-Identifier: MIT
#include "tests/support/recording_progress.h"

namespace reelcraft::test {

void RecordingProgress::SetPhase(ConversionPhase phase) {
  static const char *const kNames[] = {"pictures", "sound"};
  phases_.push_back(kNames[int(phase)] + (" " + std::to_string(calls_.size())));
}

void RecordingProgress::SetRange(uint32_t low, uint32_t high) {
  Record("range " + std::to_string(low) + " " + std::to_string(high));
}

void RecordingProgress::SetStep(uint32_t step) { Record("step " + std::to_string(step)); }

void RecordingProgress::SetPosition(uint32_t position) {
  Record("pos " + std::to_string(position));
}

void RecordingProgress::StepIt() { Record("stepit"); }

void RecordingProgress::RunPending() { Record("pump"); }

void RecordingProgress::Record(std::string call) {
  calls_.push_back(std::move(call));
  if (onCall_)
    onCall_(calls_.back());
}

std::vector<std::string> RecordingProgress::bar() const {
  std::vector<std::string> result;
  for (const auto &call : calls_)
    if (call != "pump")
      result.push_back(call);
  return result;
}

} // namespace reelcraft::test
