// SPDX-License-Identifier: MIT
#include "gui/batch/run_batch_window.h"

#include "gui/batch/batch_dialog.h"
#include "ui/qt_copy_progress.h"

namespace reelcraft {

int RunBatchWindow(MessageSink &messages, const Shell &shell) {
  auto copyWindow = [&messages](QWidget &owner) {
    return std::make_unique<QtCopyProgress>(&owner, messages);
  };
  BatchDialog dialog(BatchServices{messages, shell, copyWindow});
  return dialog.DoModal();
}

} // namespace reelcraft
