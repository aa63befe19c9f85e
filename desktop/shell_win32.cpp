// SPDX-License-Identifier: MIT
#include "desktop/shell.h"

#include "sys/file_system.h"
#include "sys/paths.h"
#include "sys/win32_text.h"

#include <filesystem>
#include <windows.h>

#include <shellapi.h> // after windows.h, whose types it uses
#include <shlobj.h>
#include <shlwapi.h>

namespace reelcraft {

// Windows says so for the file's extension.
bool HasDefaultProgram(const std::string &path) {
  std::wstring extension = FsPath(path).extension().wstring();
  wchar_t program[MAX_PATH];
  DWORD size = MAX_PATH;
  return extension.empty() || AssocQueryStringW(ASSOCF_NONE, ASSOCSTR_EXECUTABLE, extension.c_str(),
                                                L"open", program, &size) == S_OK;
}

// The shell opens it with the program its type names; no program of ours stands between.
bool OpenWithShell(const std::vector<std::string> &argv, const std::string &folder) {
  if (argv.empty())
    return false;
  auto started = reinterpret_cast<INT_PTR>(
      ShellExecuteW(nullptr, L"open", WidePath(argv[0]).c_str(), nullptr,
                    folder.empty() ? nullptr : WideText(folder).c_str(), SW_SHOWNORMAL));
  return started > 32;
}

bool Shell::OpenWithProgram(const std::string &path) const {
  std::string file = path.empty() ? path : Utf8Path(std::filesystem::absolute(FsPath(path)));
  return hooks_.launch({file}, ParentFolder(file));
}

// The classes are the registry's own: the shell need only be told.
void Shell::NotifyAssociationsChanged(RegistryStore &, const DesktopFileType &) const {
  SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}

} // namespace reelcraft
