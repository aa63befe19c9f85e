// SPDX-License-Identifier: MIT
#include "tests/support/scoped_mount.h"

#include "tests/support/files.h"

#include <cstdlib>
#include <filesystem>

namespace reelcraft::test {

ScopedMount::ScopedMount(Kind kind, const std::string &folder, uint64_t bytes) : folder_(folder) {
  std::filesystem::create_directories(folder);
  std::string command;
  if (kind == Kind::Tmpfs) {
    command = "mount -t tmpfs -o size=" + std::to_string(bytes) + " tmpfs " + ShellQuote(folder);
  } else {
    image_ = folder + ".img";
    command = "truncate -s " + std::to_string(bytes) + " " + ShellQuote(image_) +
              " && mkfs.ext4 -q -F " + ShellQuote(image_) + " && mount -o loop " +
              ShellQuote(image_) + " " + ShellQuote(folder);
  }
  mounted_ = RunCommand("{ " + command + "; } >/dev/null 2>&1").status == 0;
}

ScopedMount::~ScopedMount() {
  if (mounted_)
    RunCommand("umount " + ShellQuote(folder_) + " >/dev/null 2>&1");
  if (!image_.empty())
    std::filesystem::remove(image_);
}

std::string HomeTrashFile(const std::string &name) {
  const char *data = std::getenv("XDG_DATA_HOME");
  return std::string(data ? data : "") + "/Trash/files/" + name;
}

} // namespace reelcraft::test
