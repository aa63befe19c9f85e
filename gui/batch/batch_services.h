// SPDX-License-Identifier: MIT
#pragma once

#include "desktop/shell.h"
#include "sys/file_operation.h"
#include "sys/message_sink.h"
#include "ui/window_types.h"

#include <functional>
#include <memory>
#include <string>

namespace reelcraft {

// The progress window and replace question of a copy, owned by `owner`.
using CopyWindowFactory = std::function<std::unique_ptr<CopyObserver>(WindowHandle owner)>;

// Shows a notification on the desktop: its summary and body.
using DesktopNotifier = std::function<void(const std::string &summary, const std::string &body)>;

// What the batch window works with besides its own controls.
struct BatchServices {
  MessageSink &messages;
  const Shell &shell;
  CopyWindowFactory copyWindow;
  DesktopNotifier notify = nullptr; // none: no notifications
};

} // namespace reelcraft
