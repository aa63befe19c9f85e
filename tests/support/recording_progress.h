#pragma once

#include "engine/progress_control.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace reelcraft::test {

// A progress bar and pump that record every call, in order, as text: "range 0 1000",
// "step 1", "pos 0", "stepit", "pump". A hook runs inside each pump, as a window's Cancel
// handler would.
class RecordingProgress : public ProgressSink, public Pump {
public:
  void SetRange(uint32_t low, uint32_t high) override;
  void SetStep(uint32_t step) override;
  void SetPosition(uint32_t position) override;
  void StepIt() override;
  void RunPending() override;

  void OnPump(std::function<void()> hook) { onPump_ = std::move(hook); }
  ProgressControl control() { return {*this, *this}; }
  const std::vector<std::string> &calls() const { return calls_; }
  // The recorded calls without the pumps.
  std::vector<std::string> bar() const;

private:
  std::vector<std::string> calls_;
  std::function<void()> onPump_;
};

} // namespace reelcraft::test
