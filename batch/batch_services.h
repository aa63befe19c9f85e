#pragma once

#include "platform/file_operation.h"
#include "platform/message_sink.h"
#include "platform/shell.h"

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
