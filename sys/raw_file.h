#pragma once

#include "sys/file_identity.h"

#include <cstddef>
#include <cstdint>
#include <string>

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

} // namespace reelcraft
