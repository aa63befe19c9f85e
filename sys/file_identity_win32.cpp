// SPDX-License-Identifier: MIT
#include "sys/file_identity.h"

#include "sys/file_system.h"
#include "sys/win32_handle.h"
#include "sys/win32_text.h"

#include <cerrno>
#include <io.h>
#include <windows.h>

namespace reelcraft {

namespace {

bool IsLinkOrFolder(HANDLE handle) {
  FILE_BASIC_INFO basic;
  return !GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof basic) ||
         (basic.FileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY));
}

// 100-nanosecond ticks from 1601 to 1970.
constexpr int64_t kUnixEpochTicks = 116444736000000000LL;

timespec TimeOf(const FILETIME &time) {
  int64_t ticks = int64_t(uint64_t(time.dwHighDateTime) << 32 | time.dwLowDateTime);
  ticks -= kUnixEpochTicks;
  int64_t seconds = ticks / 10000000, rest = ticks % 10000000;
  if (rest < 0)
    rest += 10000000, --seconds;
  return timespec{time_t(seconds), long(rest * 100)};
}

FILETIME FileTimeOf(const timespec &time) {
  uint64_t ticks = uint64_t(int64_t(time.tv_sec) * 10000000 + time.tv_nsec / 100 + kUnixEpochTicks);
  return FILETIME{DWORD(ticks), DWORD(ticks >> 32)};
}

} // namespace

std::optional<FileIdentity> IdentityOfHandle(HANDLE handle) {
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(handle, &info)) {
    FailWithLastError();
    return std::nullopt;
  }
  return FileIdentity{info.dwVolumeSerialNumber,
                      uint64_t(info.nFileIndexHigh) << 32 | info.nFileIndexLow};
}

OwnedHandle OpenHandle(const FileRef &file, unsigned long access, unsigned long creation,
                       unsigned long flags) {
  // Others may read, write, rename and delete the file while it is open, as on POSIX; the
  // temporary files that must not be removed while in use are opened apart.
  constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  OwnedHandle handle;
  if (file.descriptor >= 0) {
    auto own = reinterpret_cast<HANDLE>(_get_osfhandle(file.descriptor));
    // A new open of the same file, with an offset of its own.
    handle.Reset(ReOpenFile(own, access, kShareAll, flags & FILE_FLAG_BACKUP_SEMANTICS));
  } else {
    if (file.identity) {
      creation = creation == CREATE_ALWAYS ? TRUNCATE_EXISTING
                 : creation == OPEN_ALWAYS ? OPEN_EXISTING
                                           : creation;
      flags |= FILE_FLAG_OPEN_REPARSE_POINT;
    }
    handle.Reset(CreateFileW(WidePath(file.path).c_str(), access, kShareAll, nullptr, creation,
                             flags, nullptr));
  }
  if (!handle) {
    FailWithLastError();
    return handle;
  }
  if (file.identity && file.descriptor < 0 && IsLinkOrFolder(handle.get())) {
    handle.Reset();
    errno = ELOOP;
  } else if (file.identity && IdentityOfHandle(handle.get()) != file.identity) {
    handle.Reset();
    errno = EPERM;
  }
  return handle;
}

int DescriptorOf(OwnedHandle &handle) {
  if (!handle)
    return -1;
  // Only the handle's own calls read and write it, so the runtime's modes do not matter.
  int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle.get()), 0);
  if (fd < 0) {
    errno = EMFILE;
    return -1;
  }
  handle.Release();
  return fd;
}

// A file that goes with its handle keeps its name until then.
std::string OpenablePath(const FileRef &file) { return file.path; }

std::optional<FileIdentity> IdentityOf(int fd) {
  return IdentityOfHandle(reinterpret_cast<HANDLE>(_get_osfhandle(fd)));
}

std::optional<FileIdentity> IdentityOfPath(const std::string &path) {
  OwnedHandle handle(CreateFileW(WidePath(path.empty() ? "." : path).c_str(), 0,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!handle) {
    FailWithLastError();
    return std::nullopt;
  }
  return IdentityOfHandle(handle.get());
}

int OpenFileRef(const FileRef &file, int flags, unsigned mode) {
  DWORD access = (flags & O_RDWR)     ? GENERIC_READ | GENERIC_WRITE
                 : (flags & O_WRONLY) ? GENERIC_WRITE
                                      : GENERIC_READ;
  bool create = flags & O_CREAT;
  DWORD creation = create && (flags & O_EXCL)    ? CREATE_NEW
                   : create && (flags & O_TRUNC) ? CREATE_ALWAYS
                   : create                      ? OPEN_ALWAYS
                   : (flags & O_TRUNC)           ? TRUNCATE_EXISTING
                                                 : OPEN_EXISTING;
  DWORD attributes = FILE_ATTRIBUTE_NORMAL;
  if (create && !(mode & 0200))
    attributes = FILE_ATTRIBUTE_READONLY;
  if (flags & O_DIRECTORY)
    attributes |= FILE_FLAG_BACKUP_SEMANTICS;
  if (flags & O_NOFOLLOW)
    attributes |= FILE_FLAG_OPEN_REPARSE_POINT;
  OwnedHandle handle = OpenHandle(file, access, creation, attributes);
  // A folder opened as a file is refused as access denied, which would send the user looking
  // at permissions; POSIX's open says what it is.
  if (!handle && errno == EACCES && !(flags & O_DIRECTORY) && IsFolder(file.path))
    errno = EISDIR;
  return DescriptorOf(handle);
}

bool StillSameFile(const FileRef &file) {
  if (!file.identity)
    return false;
  if (file.descriptor >= 0)
    return IdentityOf(file.descriptor) == file.identity;
  OwnedHandle handle(CreateFileW(
      WidePath(file.path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  return handle && !IsLinkOrFolder(handle.get()) && IdentityOfHandle(handle.get()) == file.identity;
}

std::optional<timespec> ModificationTime(const std::string &path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(WidePath(path).c_str(), GetFileExInfoStandard, &data)) {
    FailWithLastError();
    return std::nullopt;
  }
  return TimeOf(data.ftLastWriteTime);
}

bool SetModificationTime(const FileRef &file, const timespec &time) {
  OwnedHandle handle = OpenHandle(file, FILE_WRITE_ATTRIBUTES, OPEN_EXISTING, 0);
  FILETIME when = FileTimeOf(time);
  return handle && (SetFileTime(handle.get(), nullptr, &when, &when) || FailWithLastError());
}

bool FlushToDisk(const FileRef &file) {
  // A folder's entries go to disk with the file system's own journal: only the file is flushed.
  OwnedHandle handle = OpenHandle(file, GENERIC_WRITE, OPEN_EXISTING, 0);
  return handle && (FlushFileBuffers(handle.get()) || FailWithLastError());
}

} // namespace reelcraft
