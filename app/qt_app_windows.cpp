#include "app/qt_app_windows.h"

#include "app/register_prompt_dialog.h"
#include "batch/run_batch_window.h"
#include "resources/dialog_templates.h"

namespace reelcraft {

namespace {

// Stand-in for the single-clip dialog, which is not built yet.
int RunPlaceholder(const DialogTemplate &dialogTemplate) {
  TemplateDialog dialog(dialogTemplate);
  dialog.SetCaption(kVersionCaption);
  return dialog.DoModal();
}

} // namespace

AppWindows QtAppWindows(RegistryStore &store, MessageSink &messages, const Shell &shell) {
  return {
      [&store] { return RegisterPromptDialog(store).DoModal() == IDOK; },
      [](const SingleClipRequest &) { return RunPlaceholder(ConvertProgressTemplate()); },
      [&messages, &shell] { RunBatchWindow(messages, shell); },
  };
}

} // namespace reelcraft
