// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

namespace reelcraft::test {

// A small file system mounted on a folder of the test's, as a camera card: a tmpfs (which no
// Trash serves), an ext4 image on a loop device (which gets a Trash of its own at its top), or
// a FAT32 or exFAT image served by FUSE, as desktops mount cards where the kernel has no driver
// (both case-insensitive, neither makes files without a name). Mounting needs the right to; a
// test that cannot have it skips (see ok()). Unmounted when the object goes.
class ScopedMount {
public:
  enum class Kind { Tmpfs, LoopExt4, FuseFat, FuseExfat };
  ScopedMount(Kind kind, const std::string &folder, uint64_t bytes);
  ~ScopedMount();
  ScopedMount(const ScopedMount &) = delete;
  ScopedMount &operator=(const ScopedMount &) = delete;

  bool ok() const { return mounted_; }

  // The card's write-protect switch: a kernel file system goes on read-only.
  bool MakeReadOnly();
  // The card pulled out: a FUSE file system's server is killed, so every call on its files
  // fails from then on (ENOTCONN).
  bool Pull();

private:
  std::string folder_;
  std::string image_;
  std::string loopDevice_;
  bool fuse_ = false;
  bool mounted_ = false;
};

// The file the home Trash holds under `name` ($XDG_DATA_HOME/Trash/files/NAME).
std::string HomeTrashFile(const std::string &name);

} // namespace reelcraft::test
