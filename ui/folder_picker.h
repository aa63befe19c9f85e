// SPDX-License-Identifier: MIT
#pragma once

#include "sys/message_sink.h"
#include "ui/window_types.h"

#include <optional>
#include <string>

namespace reelcraft {

// Folder choice with a typed-path box above a tree of the whole file system. OK accepts the
// box's text only once ValidateOrCreateFolder has passed it (offering to create a missing
// folder); otherwise the dialog stays open with the focus in the box.
class FolderPicker {
public:
  // No title leaves the dialog's own caption; no initial folder selects the current directory.
  FolderPicker(std::optional<std::string> title, std::string prompt,
               std::optional<std::string> initialFolder, WindowHandle parent,
               MessageSink &messages);
  virtual ~FolderPicker() = default;

  // 1 when a folder was accepted, otherwise -1.
  virtual int DoModal();
  // The accepted path as typed or shown; meaningful after DoModal gave 1.
  std::string GetPath() const { return path_; }

private:
  std::optional<std::string> title_;
  std::string prompt_;
  std::optional<std::string> initialFolder_;
  WindowHandle owner_;
  MessageSink &messages_;
  std::string path_;
};

} // namespace reelcraft
