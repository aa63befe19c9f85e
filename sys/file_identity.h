// SPDX-License-Identifier: MIT
#pragma once

#include <compare>
#include <cstdint>
#include <fcntl.h>
#include <optional>
#include <string>
#include <time.h>

#ifdef _WIN32
// Opens on Windows never wait for a FIFO's writer, nor pass their handle to a child; a link or
// a folder is asked for with a flag of its own, in bits that the runtime's opens leave free.
#define O_NONBLOCK 0
#define O_CLOEXEC 0
#define O_NOFOLLOW 0x100000
#define O_DIRECTORY 0x200000
#endif

namespace reelcraft {

// Which file an open descriptor or a directory entry stands for: equal identities are one file.
struct FileIdentity {
  uint64_t device = 0;
  uint64_t inode = 0;
  bool operator==(const FileIdentity &) const = default;
  auto operator<=>(const FileIdentity &) const = default;
};

// A path to open, and, when the caller created the file there itself, that file's identity.
// In a folder that others may write to, the name can be swapped for a link or another file
// between two uses; a file with an identity is opened again only if the name still stands for
// that very file, never through a link, and never created anew.
struct FileRef {
  FileRef(std::string path) : path(std::move(path)) {}
  FileRef(const char *path) : path(path) {}
  FileRef(std::string path, std::optional<FileIdentity> identity)
      : path(std::move(path)), identity(identity) {}

  std::string path;
  std::optional<FileIdentity> identity;
  // A file without a name in any folder (see temp_files.h), open in this process as this
  // descriptor, which its owner keeps open: it is opened again only through that, and `path`
  // only names it in messages.
  int descriptor = -1;
};

std::optional<FileIdentity> IdentityOf(int fd);
// The identity of what `path` names, folder or file, following links.
std::optional<FileIdentity> IdentityOfPath(const std::string &path);

// A path by which `file` can be opened by name, as a copy's source: for a file without a name
// of its own, this process's link to its descriptor.
std::string OpenablePath(const FileRef &file);

#ifndef _WIN32
// The name by which this process opens its descriptor `fd` again, as a new open file with an
// offset of its own.
std::string DescriptorPath(int fd);
#endif

// Opens `file` with `flags` (O_CREAT only for a file without identity); retries an
// interrupted open. -1 with errno set on failure: ELOOP for a link, EPERM for another file in
// the place of the one created.
int OpenFileRef(const FileRef &file, int flags, unsigned mode = 0);

// True when `file` has an identity and its path (or descriptor) still stands for that file.
bool StillSameFile(const FileRef &file);

// The time the file at `path` was last modified; nullopt when it cannot be had.
std::optional<timespec> ModificationTime(const std::string &path);
// Gives `file` that modification time, and that access time; false when they cannot be set.
bool SetModificationTime(const FileRef &file, const timespec &time);

// Waits until the file and its entry in its folder are on disk, so that a power cut after it
// cannot take the file away. False when either could not be flushed.
bool FlushToDisk(const FileRef &file);

} // namespace reelcraft
