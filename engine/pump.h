#pragma once

namespace reelcraft {

// Runs the user interface's pending events and returns without waiting for more, so that a
// window stays live (and its Cancel button can act) while a long operation runs inside it.
class Pump {
public:
  virtual ~Pump() = default;
  virtual void RunPending() = 0;
};

} // namespace reelcraft
