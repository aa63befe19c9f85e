// SPDX-License-Identifier: MIT
#include "sys/file_io.h"

#include "sys/win32_text.h"

#include <cerrno>
#include <io.h>
#include <windows.h>

namespace reelcraft {

namespace {

HANDLE HandleOf(int fd) {
  auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
  if (handle == INVALID_HANDLE_VALUE)
    errno = EBADF;
  return handle;
}

// A write of at most one DWORD's worth, at the file's offset or at `at`'s, which a handle
// opened for synchronous use honours as a position.
long long WriteOnce(HANDLE handle, const void *data, size_t size, OVERLAPPED *at) {
  DWORD written = 0;
  DWORD piece = size > 0x40000000 ? 0x40000000 : DWORD(size);
  if (!WriteFile(handle, data, piece, &written, at)) {
    FailWithLastError();
    return -1;
  }
  return written;
}

long long WriteOnce(HANDLE handle, const void *data, size_t size, uint64_t position) {
  OVERLAPPED at = {};
  at.Offset = DWORD(position);
  at.OffsetHigh = DWORD(position >> 32);
  return WriteOnce(handle, data, size, &at);
}

} // namespace

long long WriteAt(int fd, const void *data, size_t size, uint64_t position) {
  HANDLE handle = HandleOf(fd);
  if (handle == INVALID_HANDLE_VALUE)
    return -1;
  return WriteOnce(handle, data, size, position);
}

long long WriteSlicesAt(int fd, const IoSlice *slices, int count, uint64_t position) {
  HANDLE handle = HandleOf(fd);
  if (handle == INVALID_HANDLE_VALUE)
    return -1;
  long long total = 0;
  for (int i = 0; i < count; ++i) {
    long long n = WriteOnce(handle, slices[i].iov_base, slices[i].iov_len, position + total);
    if (n < 0)
      return total > 0 ? total : -1;
    total += n;
    if (size_t(n) < slices[i].iov_len)
      break;
  }
  return total;
}

long long ReadSome(int fd, void *buffer, size_t size) {
  HANDLE handle = HandleOf(fd);
  if (handle == INVALID_HANDLE_VALUE)
    return -1;
  DWORD got = 0;
  DWORD piece = size > 0x40000000 ? 0x40000000 : DWORD(size);
  if (!ReadFile(handle, buffer, piece, &got, nullptr)) {
    if (GetLastError() == ERROR_HANDLE_EOF || GetLastError() == ERROR_BROKEN_PIPE)
      return 0;
    FailWithLastError();
    return -1;
  }
  return got;
}

long long WriteSome(int fd, const void *data, size_t size) {
  HANDLE handle = HandleOf(fd);
  return handle == INVALID_HANDLE_VALUE ? -1 : WriteOnce(handle, data, size, nullptr);
}

bool SeekTo(int fd, uint64_t offset) {
  HANDLE handle = HandleOf(fd);
  LARGE_INTEGER to;
  to.QuadPart = LONGLONG(offset);
  return handle != INVALID_HANDLE_VALUE &&
         (SetFilePointerEx(handle, to, nullptr, FILE_BEGIN) || FailWithLastError());
}

bool FileLength(int fd, uint64_t &length) {
  HANDLE handle = HandleOf(fd);
  LARGE_INTEGER size;
  if (handle == INVALID_HANDLE_VALUE || !GetFileSizeEx(handle, &size))
    return handle != INVALID_HANDLE_VALUE && FailWithLastError();
  length = uint64_t(size.QuadPart);
  return true;
}

bool CutFile(int fd, uint64_t length) {
  HANDLE handle = HandleOf(fd);
  FILE_END_OF_FILE_INFO end;
  end.EndOfFile.QuadPart = LONGLONG(length);
  return handle != INVALID_HANDLE_VALUE &&
         (SetFileInformationByHandle(handle, FileEndOfFileInfo, &end, sizeof end) ||
          FailWithLastError());
}

bool FlushFile(int fd) {
  HANDLE handle = HandleOf(fd);
  return handle != INVALID_HANDLE_VALUE && (FlushFileBuffers(handle) || FailWithLastError());
}

// Windows keeps no permission bits: the times alone go across.
bool CopyAttributes(int from, int to) {
  HANDLE source = HandleOf(from), target = HandleOf(to);
  FILETIME accessed, modified;
  return source != INVALID_HANDLE_VALUE && target != INVALID_HANDLE_VALUE &&
         ((GetFileTime(source, nullptr, &accessed, &modified) &&
           SetFileTime(target, nullptr, &accessed, &modified)) ||
          FailWithLastError());
}

long long CopyInKernel(int, int, size_t) {
  errno = ENOSYS;
  return -1;
}

bool KindOfDescriptor(int fd, DescriptorKind &kind) {
  kind = DescriptorKind::Other;
  HANDLE handle = HandleOf(fd);
  if (handle == INVALID_HANDLE_VALUE)
    return false;
  if (GetFileType(handle) != FILE_TYPE_DISK)
    return true;
  FILE_BASIC_INFO basic;
  if (!GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof basic))
    return FailWithLastError();
  kind = basic.FileAttributes & FILE_ATTRIBUTE_DIRECTORY ? DescriptorKind::Folder
                                                         : DescriptorKind::RegularFile;
  return true;
}

} // namespace reelcraft
