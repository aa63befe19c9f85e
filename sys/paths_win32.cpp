// SPDX-License-Identifier: MIT
#include "sys/paths.h"

#include "sys/win32_text.h"

#include <cerrno>
#include <cstdlib>
#include <windows.h>

namespace reelcraft {

namespace {

// A folder that Windows keeps per user, from its variable; `fallback` below the profile
// otherwise.
std::string UserFolder(const char *variable, const char *fallback) {
  const wchar_t *value = _wgetenv(WideText(variable).c_str());
  if (value && *value)
    return Utf8Text(value);
  const wchar_t *profile = _wgetenv(L"USERPROFILE");
  return (profile ? Utf8Text(profile) : std::string("C:")) + fallback;
}

} // namespace

std::optional<std::string> CurrentDirectory() {
  wchar_t buffer[kPathBufferSize];
  DWORD length = GetCurrentDirectoryW(kPathBufferSize, buffer);
  if (length == 0 || length >= kPathBufferSize)
    return std::nullopt;
  return Utf8Text(std::wstring(buffer, length));
}

ProgramPath RunningProgramPath() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetModuleFileNameW(nullptr, buffer.data(), DWORD(buffer.size()));
    if (length == 0)
      return {std::string(), ErrnoOf(GetLastError())};
    if (length < buffer.size())
      return {Utf8Text(buffer.substr(0, length)), 0};
    if (buffer.size() >= 32768)
      return {std::string(), ENAMETOOLONG};
    buffer.resize(buffer.size() * 2);
  }
}

std::string XdgDataHome() { return UserFolder("LOCALAPPDATA", "\\AppData\\Local"); }
std::string XdgConfigHome() { return UserFolder("APPDATA", "\\AppData\\Roaming"); }
std::vector<std::string> XdgDataDirs() { return {UserFolder("ProgramData", "\\ProgramData")}; }

} // namespace reelcraft
