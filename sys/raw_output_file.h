#pragma once

#include "sys/file_identity.h"

#include <cstddef>
#include <string>

namespace reelcraft {

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
