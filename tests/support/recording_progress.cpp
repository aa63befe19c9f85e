#include "tests/support/recording_progress.h"

namespace reelcraft::test {

void RecordingProgress::SetRange(uint32_t low, uint32_t high) {
  calls_.push_back("range " + std::to_string(low) + " " + std::to_string(high));
}

void RecordingProgress::SetStep(uint32_t step) { calls_.push_back("step " + std::to_string(step)); }

void RecordingProgress::SetPosition(uint32_t position) {
  calls_.push_back("pos " + std::to_string(position));
}

void RecordingProgress::StepIt() { calls_.push_back("stepit"); }

void RecordingProgress::RunPending() {
  calls_.push_back("pump");
  if (onPump_)
    onPump_();
}

std::vector<std::string> RecordingProgress::bar() const {
  std::vector<std::string> result;
  for (const auto &call : calls_)
    if (call != "pump")
      result.push_back(call);
  return result;
}

} // namespace reelcraft::test
