// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>

#ifndef _WIN32
#include <sys/uio.h>
#endif

namespace reelcraft {

// Calls on an open file descriptor that every system has in some form. Each gives -1 or false
// with errno set on failure; an interrupted call is retried by the caller where it matters.

// One piece of a vectored write, laid out as the system's own.
#ifdef _WIN32
struct IoSlice {
  void *iov_base;
  size_t iov_len;
};
#else
using IoSlice = ::iovec;
#endif

// Writes at `position`, leaving the file's offset alone; gives the count written.
long long WriteAt(int fd, const void *data, size_t size, uint64_t position);
long long WriteSlicesAt(int fd, const IoSlice *slices, int count, uint64_t position);
// Reads at most `size` bytes at the file's offset; gives the count read, 0 at its end.
long long ReadSome(int fd, void *buffer, size_t size);
// Writes at most `size` bytes at the file's offset; gives the count written.
long long WriteSome(int fd, const void *data, size_t size);
bool SeekTo(int fd, uint64_t offset);
bool FileLength(int fd, uint64_t &length);
// Cuts the file to `length` bytes.
bool CutFile(int fd, uint64_t length);

// Waits until what was written to the file is on disk.
bool FlushFile(int fd);
// Gives `to` the permission bits and the access and modification times of `from`, as far as
// `to`'s file system takes them.
bool CopyAttributes(int from, int to);
// Copies up to `size` bytes from `in` to `out` without passing them through this process, at
// both files' offsets; -1 with errno set where the system cannot (ENOSYS where it never can).
long long CopyInKernel(int in, int out, size_t size);

enum class DescriptorKind { RegularFile, Folder, Other };
// False, with the kind Other and errno set, when it cannot be told.
bool KindOfDescriptor(int fd, DescriptorKind &kind);

} // namespace reelcraft
