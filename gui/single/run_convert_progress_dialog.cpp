// SPDX-License-Identifier: MIT
#include "gui/single/run_convert_progress_dialog.h"

#include "gui/single/convert_progress_dialog.h"

namespace reelcraft {

int RunConvertProgressDialog(const SingleClipRequest &request, MessageSink &messages,
                             const Shell &shell) {
  ConvertProgressDialog dialog(request.sourcePath, request.targetPath, request.askFolder,
                               request.deleteSource, nullptr, messages, shell);
  return dialog.DoModal();
}

} // namespace reelcraft
