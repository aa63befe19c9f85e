// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

namespace reelcraft::test {

// A small file system mounted on a folder of the test's, as a camera card: a tmpfs (which no
// Trash serves), or an ext4 image on a loop device (which gets a Trash of its own at its top).
// Mounting needs the right to; a test that cannot have it skips (see ok()). Unmounted when
// the object goes.
class ScopedMount {
public:
  enum class Kind { Tmpfs, LoopExt4 };
  ScopedMount(Kind kind, const std::string &folder, uint64_t bytes);
  ~ScopedMount();
  ScopedMount(const ScopedMount &) = delete;
  ScopedMount &operator=(const ScopedMount &) = delete;

  bool ok() const { return mounted_; }

private:
  std::string folder_;
  std::string image_;
  bool mounted_ = false;
};

// The file the home Trash holds under `name` ($XDG_DATA_HOME/Trash/files/NAME).
std::string HomeTrashFile(const std::string &name);

} // namespace reelcraft::test
