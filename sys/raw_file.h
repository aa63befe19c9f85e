// SPDX-License-Identifier: MIT
#pragma once

#include "sys/file_identity.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/types.h>

namespace reelcraft {

// A regular file opened for reading raw bytes. Closed when the object goes. After a failed call,
// error() holds the system's error code of that failure (errno).
class RawFile {
public:
  RawFile() = default;
  ~RawFile();
  RawFile(const RawFile &) = delete;
  RawFile &operator=(const RawFile &) = delete;

  // Opens a regular file, never waiting; anything else is refused (EISDIR for a folder, ENXIO
  // for a FIFO, device or socket).
  bool OpenForReading(const FileRef &file);
  // Reads until `size` bytes are in or the file ends; gives the count read. A read error
  // ends the read early like the end of the file does, and is kept in error().
  size_t Read(void *buffer, size_t size);
  bool Seek(uint64_t offset);
  // The file's length in bytes; false when it cannot be had.
  bool Length(uint64_t &length);
  void Close();

  bool is_open() const { return fd_ >= 0; }
  int error() const { return error_; }

private:
  int fd_ = -1;
  int error_ = 0;
};

// Reads and writes of this size at multiples of it are what the page cache serves best here: it
// keeps written data in pieces of that size, far cheaper to fill, read back and free than those
// of small writes, while larger pieces are slow to come by once memory is busy; and a buffer of
// that size stays in the processor's cache between the read and the write.
constexpr size_t kIoPieceSize = size_t(256) << 10;

// A regular file created anew (emptied if it exists) for writing raw bytes. Closed when the
// object goes. After a failed call, error() holds the system's error code (errno).
class RawOutputFile {
public:
  RawOutputFile() = default;
  ~RawOutputFile();
  RawOutputFile(const RawOutputFile &) = delete;
  RawOutputFile &operator=(const RawOutputFile &) = delete;

  bool Create(const FileRef &file);
  // Writes all `size` bytes or fails.
  bool Write(const void *data, size_t size);
  // False when the close reported a failure of data written before.
  bool Close();

  int error() const { return error_; }

private:
  int fd_ = -1;
  int error_ = 0;
};

// Opens `file` for writing from its start, creating it (unless it has an identity) or emptying
// it as needed, like O_TRUNC. An already empty file (a reserved temporary name) is left
// untruncated: on ext4 a truncation makes the close flush the whole new contents, which costs
// more than the conversion itself. Gives the descriptor, or -1 with errno set.
int OpenForRewrite(const FileRef &file, int accessFlags, mode_t mode);

} // namespace reelcraft
