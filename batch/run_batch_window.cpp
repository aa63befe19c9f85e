#include "batch/run_batch_window.h"

#include "batch/batch_dialog.h"
#include "platform/qt_copy_progress.h"

namespace reelcraft {

int RunBatchWindow(MessageSink &messages, const Shell &shell) {
  BatchServices services{messages, shell,
                         [](QWidget &) { return std::make_unique<CopyObserver>(); }};
  BatchDialog dialog(std::move(services));
  return dialog.DoModal();
}

} // namespace reelcraft
