// SPDX-License-Identifier: MIT
#include "sys/error_text.h"

#include "sys/win32_text.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <windows.h>

namespace reelcraft {

namespace {

// The Win32 code that an errno value of ours stands for (see ErrnoOf); 0 for none.
DWORD Win32CodeOf(uint32_t code) {
  if (code >= uint32_t(kWin32ErrorBase))
    return DWORD(code - uint32_t(kWin32ErrorBase));
  switch (code) {
  case ENOENT:
    return ERROR_FILE_NOT_FOUND;
  case EMFILE:
    return ERROR_TOO_MANY_OPEN_FILES;
  case EACCES:
  case EPERM:
    return ERROR_ACCESS_DENIED;
  case EBADF:
    return ERROR_INVALID_HANDLE;
  case ENOMEM:
    return ERROR_NOT_ENOUGH_MEMORY;
  case EROFS:
    return ERROR_WRITE_PROTECT;
  case EIO:
    return ERROR_IO_DEVICE;
  case ETXTBSY:
    return ERROR_SHARING_VIOLATION;
  case ENOLCK:
    return ERROR_LOCK_VIOLATION;
  case ENOSPC:
    return ERROR_DISK_FULL;
  case EOPNOTSUPP:
    return ERROR_NOT_SUPPORTED;
  case EEXIST:
    return ERROR_FILE_EXISTS;
  case EINVAL:
    return ERROR_INVALID_PARAMETER;
  case ENOTDIR:
    return ERROR_DIRECTORY;
  case ENAMETOOLONG:
    return ERROR_FILENAME_EXCED_RANGE;
  case ENOTEMPTY:
    return ERROR_DIR_NOT_EMPTY;
  case EXDEV:
    return ERROR_NOT_SAME_DEVICE;
  case EFBIG:
    return ERROR_FILE_TOO_LARGE;
  case EPIPE:
    return ERROR_BROKEN_PIPE;
  default:
    return 0;
  }
}

// The message table's text for `code` from `module` (the system's when null), without the
// line break and full stop that end it, so that it reads within a sentence of ours.
std::string MessageText(DWORD code, HMODULE module) {
  wchar_t *text = nullptr;
  DWORD source = module ? FORMAT_MESSAGE_FROM_HMODULE : FORMAT_MESSAGE_FROM_SYSTEM;
  DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | source,
                     module, code, 0, reinterpret_cast<wchar_t *>(&text), 0, nullptr);
  std::wstring found = length ? std::wstring(text, length) : std::wstring();
  LocalFree(text);
  while (!found.empty() && (found.back() == L'\n' || found.back() == L'\r' ||
                            found.back() == L' ' || found.back() == L'.'))
    found.pop_back();
  return Utf8Text(found);
}

} // namespace

void SystemErrorText(uint32_t code, std::string &text) {
  DWORD win32 = Win32CodeOf(code);
  if (win32 == 0) {
    // An errno value with no Win32 counterpart: the runtime's own text, where it has one; it
    // has none for the POSIX values that mingw-w64 adds (ENOTCONN, ELOOP, ...).
    if (code < 200) {
      std::string found = std::strerror(int(code));
      if (found != std::strerror(INT_MAX))
        text = found;
    }
    return;
  }
  std::string found = MessageText(win32, nullptr);
  // Network errors (2100 to 2999) have their texts in a library of their own.
  if (found.empty()) {
    if (HMODULE netmsg = LoadLibraryExW(L"netmsg.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE)) {
      found = MessageText(win32, netmsg);
      FreeLibrary(netmsg);
    }
  }
  if (!found.empty())
    text = found;
}

} // namespace reelcraft
