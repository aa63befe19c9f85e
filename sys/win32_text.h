// SPDX-License-Identifier: MIT
#pragma once

// Windows only: the bridge between the UTF-8 paths and errno codes the rest of the program
// speaks and the wide-character calls and error codes of Win32.

#include <string>

namespace reelcraft {

std::wstring WideText(const std::string &utf8);
std::string Utf8Text(const std::wstring &wide);
std::string Utf8Text(const wchar_t *wide);

// `path` for a wide-character file call: separators made '\', and a full path past the 259
// characters a plain one may have given the "\\?\" prefix that lifts the limit.
std::wstring WidePath(const std::string &path);

// Win32 error codes that no errno value stands for travel as this plus the code.
constexpr int kWin32ErrorBase = 0x10000;

// The errno value that stands for a Win32 error code, so that callers judge failures the same
// way on every system.
int ErrnoOf(unsigned long win32Error);
// Sets errno from GetLastError() and gives false, for a failed call's return.
bool FailWithLastError();

} // namespace reelcraft
