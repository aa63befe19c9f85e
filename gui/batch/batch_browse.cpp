// SPDX-License-Identifier: MIT
#include "gui/batch/batch_dialog.h"

#include "gui/resources/dialog_templates.h"
#include "ui/folder_picker.h"

namespace reelcraft {

// With no parent the picker is owned by the active window, which is this one.
bool BatchDialog::BrowseFolder(const std::string &prompt, std::string &folder) {
  UpdateData(true);
  FolderPicker picker(kWindowCaption, prompt, folder, nullptr, services_.messages);
  if (picker.DoModal() != 1)
    return false;
  folder = picker.GetPath();
  UpdateData(false);
  return true;
}

} // namespace reelcraft
