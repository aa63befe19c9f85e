#pragma once

#include "engine/cancel_flag.h"
#include "engine/progress_control.h"
#include "platform/file_operation.h"
#include "platform/message_sink.h"
#include "platform/shell.h"

#include <functional>
#include <memory>
#include <string>

class QWidget;

namespace reelcraft {

// Converts one clip into an AVI file, as ConvertClip does: non-zero when done (converted, or
// cancelled with the flag still set), 0 after a failure whose message has been shown.
using ClipConverter =
    std::function<int(const std::string &sourcePath, const std::string &targetPath,
                      const ProgressControl *progress, CancelFlag &cancelFlag)>;

// The progress window and replace question of a copy, owned by `owner`.
using CopyWindowFactory = std::function<std::unique_ptr<CopyObserver>(QWidget &owner)>;

// What the batch window works with besides its own controls.
struct BatchServices {
  MessageSink &messages;
  const Shell &shell;
  ClipConverter convert;
  CopyWindowFactory copyWindow;
};

} // namespace reelcraft
