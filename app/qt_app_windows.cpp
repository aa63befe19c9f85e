#include "app/qt_app_windows.h"

#include "app/register_prompt_dialog.h"
#include "resources/dialog_templates.h"

namespace reelcraft {

namespace {

// Stand-ins for the conversion windows, which are not built yet.
int RunPlaceholder(const DialogTemplate &dialogTemplate) {
  TemplateDialog dialog(dialogTemplate);
  dialog.SetCaption(kVersionCaption);
  return dialog.DoModal();
}

} // namespace

AppWindows QtAppWindows(RegistryStore &store, MessageSink &, const Shell &) {
  return {
      [&store] { return RegisterPromptDialog(store).DoModal() == IDOK; },
      [](const SingleClipRequest &) { return RunPlaceholder(ConvertProgressTemplate()); },
      [] { RunPlaceholder(BatchTemplate()); },
  };
}

} // namespace reelcraft
