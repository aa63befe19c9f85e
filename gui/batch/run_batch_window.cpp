// SPDX-License-Identifier: MIT
#include "gui/batch/run_batch_window.h"

#include "gui/batch/batch_dialog.h"
#include "ui/window_kit.h"

namespace reelcraft {

int RunBatchWindow(MessageSink &messages, const Shell &shell) {
  auto copyWindow = [&messages](WindowHandle owner) {
    return std::make_unique<WindowCopyProgress>(owner, messages);
  };
  auto notify = [](const std::string &summary, const std::string &body) {
    NotifyDesktop(summary, body);
  };
  BatchDialog dialog(BatchServices{messages, shell, copyWindow, notify});
  return dialog.DoModal();
}

} // namespace reelcraft
