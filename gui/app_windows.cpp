// SPDX-License-Identifier: MIT
#include "gui/app_windows.h"

#include "gui/batch/run_batch_window.h"
#include "gui/register/register_prompt_dialog.h"
#include "gui/resources/dialog_templates.h"
#include "gui/single/run_convert_progress_dialog.h"

namespace reelcraft {

AppWindows ProgramWindows(RegistryStore &store, MessageSink &messages, const Shell &shell) {
  return {
      [&store](bool onlyTheDefault) {
        return RegisterPromptDialog(store, onlyTheDefault).DoModal() == IDOK;
      },
      [&messages, &shell](const SingleClipRequest &request) {
        return RunConvertProgressDialog(request, messages, shell);
      },
      [&messages, &shell] { RunBatchWindow(messages, shell); },
  };
}

} // namespace reelcraft
