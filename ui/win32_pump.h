// SPDX-License-Identifier: MIT
#pragma once

#include "engine/interfaces.h"

namespace reelcraft {

// Processes the thread's waiting window messages, the keyboard of the active dialog included,
// and returns once the queue is empty. A WM_QUIT it takes is posted again, so that the message
// loop around the long operation still ends.
class Win32Pump : public Pump {
public:
  void RunPending() override;
};

} // namespace reelcraft
