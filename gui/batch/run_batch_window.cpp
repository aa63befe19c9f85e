// SPDX-License-Identifier: MIT
#include "gui/batch/run_batch_window.h"

#include "gui/batch/batch_dialog.h"
#include "ui/qt_copy_progress.h"
#include "ui/qt_desktop_notification.h"
#include "ui/qt_events.h"

namespace reelcraft {

int RunBatchWindow(MessageSink &messages, const Shell &shell) {
  auto copyWindow = [&messages](QWidget &owner) {
    return std::make_unique<QtCopyProgress>(&owner, messages);
  };
  auto notify = [](const std::string &summary, const std::string &body) {
    SendDesktopNotification(FromLocal(summary), FromLocal(body));
  };
  BatchDialog dialog(BatchServices{messages, shell, copyWindow, notify});
  return dialog.DoModal();
}

} // namespace reelcraft
