// SPDX-License-Identifier: MIT
#include "sys/win32_text.h"

#include <cerrno>
#include <windows.h>

namespace reelcraft {

std::wstring WideText(const std::string &utf8) {
  if (utf8.empty())
    return {};
  int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
  std::wstring wide(size_t(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), wide.data(), length);
  return wide;
}

std::string Utf8Text(const std::wstring &wide) {
  if (wide.empty())
    return {};
  int length =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(size_t(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), utf8.data(), length, nullptr,
                      nullptr);
  return utf8;
}

std::string Utf8Text(const wchar_t *wide) { return wide ? Utf8Text(std::wstring(wide)) : ""; }

std::wstring WidePath(const std::string &path) {
  std::wstring wide = WideText(path);
  for (wchar_t &c : wide)
    if (c == L'/')
      c = L'\\';
  if (wide.size() < MAX_PATH || wide.starts_with(L"\\\\?\\"))
    return wide;
  // The prefix takes only a full path: a relative one is made full first.
  DWORD length = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  std::wstring full(length, L'\0');
  length = length ? GetFullPathNameW(wide.c_str(), length, full.data(), nullptr) : 0;
  if (length == 0)
    return wide;
  full.resize(length);
  if (full.starts_with(L"\\\\"))
    return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

int ErrnoOf(unsigned long win32Error) {
  switch (win32Error) {
  case ERROR_SUCCESS:
    return 0;
  case ERROR_FILE_NOT_FOUND:
  case ERROR_PATH_NOT_FOUND:
  case ERROR_INVALID_DRIVE:
  case ERROR_BAD_NETPATH:
  case ERROR_BAD_NET_NAME:
    return ENOENT;
  case ERROR_TOO_MANY_OPEN_FILES:
    return EMFILE;
  case ERROR_ACCESS_DENIED:
  case ERROR_DELETE_PENDING:
  case ERROR_PRIVILEGE_NOT_HELD:
    return EACCES;
  case ERROR_INVALID_HANDLE:
    return EBADF;
  case ERROR_NOT_ENOUGH_MEMORY:
  case ERROR_OUTOFMEMORY:
    return ENOMEM;
  case ERROR_WRITE_PROTECT:
    return EROFS;
  case ERROR_NOT_READY:
  case ERROR_CRC:
  case ERROR_SEEK:
  case ERROR_SECTOR_NOT_FOUND:
  case ERROR_WRITE_FAULT:
  case ERROR_READ_FAULT:
  case ERROR_GEN_FAILURE:
  case ERROR_DEVICE_REMOVED:
  case ERROR_NETNAME_DELETED:
  case ERROR_UNEXP_NET_ERR:
  case ERROR_DEV_NOT_EXIST:
  case ERROR_IO_DEVICE:
    return EIO;
  case ERROR_SHARING_VIOLATION:
    return ETXTBSY;
  case ERROR_LOCK_VIOLATION:
  case ERROR_NOT_LOCKED:
    return ENOLCK;
  case ERROR_HANDLE_DISK_FULL:
  case ERROR_DISK_FULL:
    return ENOSPC;
  case ERROR_NOT_SUPPORTED:
    return EOPNOTSUPP;
  case ERROR_CALL_NOT_IMPLEMENTED:
    return ENOSYS;
  case ERROR_FILE_EXISTS:
  case ERROR_ALREADY_EXISTS:
    return EEXIST;
  case ERROR_INVALID_PARAMETER:
  case ERROR_INVALID_FUNCTION:
  case ERROR_INVALID_NAME:
  case ERROR_BAD_PATHNAME:
    return EINVAL;
  case ERROR_DIRECTORY:
    return ENOTDIR;
  case ERROR_FILENAME_EXCED_RANGE:
    return ENAMETOOLONG;
  case ERROR_DIR_NOT_EMPTY:
    return ENOTEMPTY;
  case ERROR_NOT_SAME_DEVICE:
    return EXDEV;
  case ERROR_CANT_RESOLVE_FILENAME:
    return ELOOP;
  case ERROR_FILE_TOO_LARGE:
    return EFBIG;
  case ERROR_OPERATION_ABORTED:
    return EINTR;
  case ERROR_BROKEN_PIPE:
  case ERROR_NO_DATA:
    return EPIPE;
  default:
    // No errno says it: the code itself travels, above every errno value, so that the
    // system's own text can still be given for it.
    return int(kWin32ErrorBase + win32Error);
  }
}

bool FailWithLastError() {
  errno = ErrnoOf(GetLastError());
  return false;
}

} // namespace reelcraft
