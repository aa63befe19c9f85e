// SPDX-License-Identifier: MIT
#include "desktop/trash.h"

#include "sys/file_system.h"
#include "sys/win32_text.h"

#include <windows.h>

#include <shellapi.h> // after windows.h, whose types it uses

namespace reelcraft {

std::string MoveToTrash(const std::string &path) {
  // The shell's operation takes a list of full paths, each ended by a zero, the list by two.
  std::wstring from = WidePath(path);
  if (!from.starts_with(L"\\\\?\\")) {
    wchar_t full[MAX_PATH];
    DWORD length = GetFullPathNameW(from.c_str(), MAX_PATH, full, nullptr);
    if (length > 0 && length < MAX_PATH)
      from.assign(full, length);
  }
  from.append(2, L'\0');
  SHFILEOPSTRUCTW operation = {};
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.c_str();
  // Into the Recycle Bin, asking nothing; but where it cannot take the clip (a card without
  // one), the shell asks before deleting it for good, and a No keeps it.
  operation.fFlags =
      FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT | FOF_WANTNUKEWARNING;
  int error = SHFileOperationW(&operation);
  if (PathExists(path))
    return error != 0                        ? "error " + std::to_string(error)
           : operation.fAnyOperationsAborted ? "kept: the Recycle Bin could not take it"
                                             : "the Recycle Bin did not take it";
  return {};
}

} // namespace reelcraft
