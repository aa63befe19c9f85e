// SPDX-License-Identifier: MIT
#pragma once

#include <unistd.h>
#include <utility>

namespace reelcraft {

// Owns one open file descriptor (or none, -1) and closes it when it goes.
class Descriptor {
public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  ~Descriptor() { Reset(); }
  Descriptor(const Descriptor &) = delete;
  Descriptor &operator=(const Descriptor &) = delete;

  int get() const { return fd_; }
  // Closes the one held, if any, and takes `fd`.
  void Reset(int fd = -1) {
    if (fd_ >= 0)
      ::close(fd_);
    fd_ = fd;
  }
  // Gives the one held up to the caller.
  int Release() { return std::exchange(fd_, -1); }
  // Closes now, so that a failure of the last write-back is seen.
  bool Close() { return ::close(std::exchange(fd_, -1)) == 0; }

private:
  int fd_;
};

} // namespace reelcraft
