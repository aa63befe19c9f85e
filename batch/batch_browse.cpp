#include "batch/batch_dialog.h"

#include "folders/folder_picker.h"

namespace reelcraft {

bool BatchDialog::BrowseFolder(const char *prompt, std::string &folder) {
  UpdateData(true);
  // The picker keeps pointers to its texts until it is gone.
  const std::string initial = folder;
  FolderPicker picker(kWindowCaption, prompt, initial.c_str(), nullptr);
  if (picker.DoModal() != 1)
    return false;
  folder = picker.GetPath();
  UpdateData(false);
  return true;
}

} // namespace reelcraft
