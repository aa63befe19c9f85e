// SPDX-License-Identifier: MIT
#pragma once

#include "engine/interfaces.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace reelcraft::test {

// A progress bar and pump that record every call, in order, as text: "range 0 1000",
// "step 1", "pos 0", "stepit", "pump". A hook sees each call as it is recorded, so that a test
// can act inside the pump as a window's Cancel handler would, or at any other point.
class RecordingProgress : public ProgressSink, public Pump {
public:
  void SetPhase(ConversionPhase phase) override;
  void SetRange(uint32_t low, uint32_t high) override;
  void SetStep(uint32_t step) override;
  void SetPosition(uint32_t position) override;
  void StepIt() override;
  void RunPending() override;

  void OnCall(std::function<void(const std::string &call)> hook) { onCall_ = std::move(hook); }
  ProgressControl control() { return {*this, *this}; }
  const std::vector<std::string> &calls() const { return calls_; }
  void Clear() {
    calls_.clear();
    phases_.clear();
  }
  // The recorded calls without the pumps.
  std::vector<std::string> bar() const;
  // Each phase announced, with the number of calls recorded before it: "pictures 0".
  const std::vector<std::string> &phases() const { return phases_; }

private:
  std::vector<std::string> calls_;
  std::vector<std::string> phases_;
  void Record(std::string call);

  std::function<void(const std::string &)> onCall_;
};

} // namespace reelcraft::test
