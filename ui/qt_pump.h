#pragma once

#include "engine/interfaces.h"

namespace reelcraft {

// Processes the events that are waiting, posted ones included, and returns at once.
class QtPump : public Pump {
public:
  void RunPending() override;
};

} // namespace reelcraft
