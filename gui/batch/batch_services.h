// SPDX-License-Identifier: MIT
#pragma once

#include "desktop/shell.h"
#include "sys/file_operation.h"
#include "sys/message_sink.h"

#include <functional>
#include <memory>

class QWidget;

namespace reelcraft {

// The progress window and replace question of a copy, owned by `owner`.
using CopyWindowFactory = std::function<std::unique_ptr<CopyObserver>(QWidget &owner)>;

// What the batch window works with besides its own controls.
struct BatchServices {
  MessageSink &messages;
  const Shell &shell;
  CopyWindowFactory copyWindow;
};

} // namespace reelcraft
