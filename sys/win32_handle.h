// SPDX-License-Identifier: MIT
#pragma once

// Windows only: an owned handle, and the opens that the files of sys/ share.

#include "sys/file_identity.h"

#include <utility>
#include <windows.h>

namespace reelcraft {

// Owns one handle (or none) and closes it when it goes.
class OwnedHandle {
public:
  explicit OwnedHandle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
  ~OwnedHandle() { Reset(); }
  OwnedHandle(OwnedHandle &&other) : handle_(other.Release()) {}
  OwnedHandle &operator=(OwnedHandle &&other) {
    Reset(other.Release());
    return *this;
  }

  HANDLE get() const { return handle_; }
  explicit operator bool() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  void Reset(HANDLE handle = INVALID_HANDLE_VALUE) {
    if (*this)
      CloseHandle(handle_);
    handle_ = handle;
  }
  HANDLE Release() { return std::exchange(handle_, INVALID_HANDLE_VALUE); }

private:
  HANDLE handle_;
};

// Opens `file` as FileRef promises (its identity checked, never through a link), with
// CreateFileW's access, creation and flags; an empty handle with errno set on failure.
OwnedHandle OpenHandle(const FileRef &file, unsigned long access, unsigned long creation,
                       unsigned long flags);

std::optional<FileIdentity> IdentityOfHandle(HANDLE handle);

// A descriptor that takes over `handle`; -1
// with errno set on failure, the handle then still the caller's.
int DescriptorOf(OwnedHandle &handle);

} // namespace reelcraft
