// SPDX-License-Identifier: MIT
#include "desktop/documents_folder.h"

#include "sys/win32_text.h"

#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

namespace reelcraft {

std::optional<std::string> DocumentsFolder() {
  wchar_t *path = nullptr;
  std::optional<std::string> folder;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Documents, KF_FLAG_CREATE, nullptr, &path)))
    folder = Utf8Text(path);
  CoTaskMemFree(path);
  return folder;
}

} // namespace reelcraft
