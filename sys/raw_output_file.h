#pragma once

#include "sys/file_identity.h"

#include <cstddef>
#include <string>

namespace reelcraft {

// Writes of this size at multiples of it are what the page cache takes best here: it keeps them
// in pieces of that size, far cheaper to fill, read back and free than those of small writes,
// while larger pieces are slow to come by once memory is busy.
constexpr size_t kWritePieceSize = size_t(256) << 10;

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

} // namespace reelcraft
