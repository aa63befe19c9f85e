// SPDX-License-Identifier: MIT
#include "sys/file_io.h"

#include <sys/stat.h>
#include <unistd.h>

namespace reelcraft {

long long WriteAt(int fd, const void *data, size_t size, uint64_t position) {
  return ::pwrite(fd, data, size, off_t(position));
}

long long WriteSlicesAt(int fd, const IoSlice *slices, int count, uint64_t position) {
  return ::pwritev(fd, slices, count, off_t(position));
}

long long ReadSome(int fd, void *buffer, size_t size) { return ::read(fd, buffer, size); }

long long WriteSome(int fd, const void *data, size_t size) { return ::write(fd, data, size); }

bool SeekTo(int fd, uint64_t offset) { return ::lseek(fd, off_t(offset), SEEK_SET) >= 0; }

bool FileLength(int fd, uint64_t &length) {
  struct stat info;
  if (::fstat(fd, &info) != 0)
    return false;
  length = uint64_t(info.st_size);
  return true;
}

bool CutFile(int fd, uint64_t length) { return ::ftruncate(fd, off_t(length)) == 0; }

bool FlushFile(int fd) { return ::fsync(fd) == 0; }

bool CopyAttributes(int from, int to) {
  struct stat info;
  if (::fstat(from, &info) != 0)
    return false;
  // Both times at once: some exFAT drivers drop a modification time that comes alone.
  const timespec times[2] = {info.st_atim, info.st_mtim};
  return ::fchmod(to, info.st_mode & 0777) == 0 && ::futimens(to, times) == 0;
}

long long CopyInKernel(int in, int out, size_t size) {
  return ::copy_file_range(in, nullptr, out, nullptr, size, 0);
}

bool KindOfDescriptor(int fd, DescriptorKind &kind) {
  struct stat info;
  kind = DescriptorKind::Other;
  if (::fstat(fd, &info) != 0)
    return false;
  kind = S_ISREG(info.st_mode)   ? DescriptorKind::RegularFile
         : S_ISDIR(info.st_mode) ? DescriptorKind::Folder
                                 : DescriptorKind::Other;
  return true;
}

} // namespace reelcraft
