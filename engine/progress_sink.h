#pragma once

#include <cstdint>

namespace reelcraft {

// The operations of a progress bar that the engine drives. The high bound is a full 32-bit
// unsigned value; a position above it shows as full.
class ProgressSink {
public:
  virtual ~ProgressSink() = default;
  virtual void SetRange(uint32_t low, uint32_t high) = 0;
  virtual void SetStep(uint32_t step) = 0;
  virtual void SetPosition(uint32_t position) = 0;
  virtual void StepIt() = 0;
};

} // namespace reelcraft
