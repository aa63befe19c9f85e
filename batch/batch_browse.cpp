#include "batch/batch_dialog.h"

#include "folders/folder_picker.h"
#include "resources/dialog_templates.h"

namespace reelcraft {

// With no parent the picker is owned by the active window, which is this one.
bool BatchDialog::BrowseFolder(const char *prompt, std::string &folder) {
  UpdateData(true);
  FolderPicker picker(kWindowCaption, prompt, folder, nullptr, services_.messages);
  if (picker.DoModal() != 1)
    return false;
  folder = picker.GetPath();
  UpdateData(false);
  return true;
}

} // namespace reelcraft
