// SPDX-License-Identifier: MIT
#include "tests/support/scoped_mount.h"

#include "tests/support/files.h"

#include <cstdlib>
#include <filesystem>

namespace reelcraft::test {

ScopedMount::ScopedMount(Kind kind, const std::string &folder, uint64_t bytes) : folder_(folder) {
  std::filesystem::create_directories(folder);
  if (kind == Kind::Tmpfs) {
    mounted_ = RunCommand("mount -t tmpfs -o size=" + std::to_string(bytes) + " tmpfs " +
                          ShellQuote(folder) + " >/dev/null 2>&1")
                   .status == 0;
    return;
  }
  image_ = folder + ".img";
  std::string image = ShellQuote(image_);
  if (RunCommand("truncate -s " + std::to_string(bytes) + " " + image).status != 0)
    return;
  fuse_ = kind != Kind::LoopExt4;
  std::string command;
  if (kind == Kind::LoopExt4) {
    command = "mkfs.ext4 -q -F " + image + " && mount -o loop " + image + " " + ShellQuote(folder);
  } else if (kind == Kind::FuseFat) {
    command = "mkfs.fat -F 32 " + image + " && fusefat -o rw+ " + image + " " + ShellQuote(folder);
  } else {
    // exfat-fuse serves block devices only.
    CommandResult loop = RunCommand(
        "mkfs.exfat " + image + " >/dev/null 2>&1 && losetup -f --show " + image + " 2>/dev/null");
    if (loop.status != 0)
      return;
    loopDevice_ = loop.output.substr(0, loop.output.find('\n'));
    command = "mount.exfat-fuse " + ShellQuote(loopDevice_) + " " + ShellQuote(folder);
  }
  mounted_ = RunCommand("{ " + command + "; } >/dev/null 2>&1").status == 0;
}

ScopedMount::~ScopedMount() {
  if (mounted_)
    RunCommand((fuse_ ? "fusermount -u -z " : "umount ") + ShellQuote(folder_) +
               " >/dev/null 2>&1");
  if (!loopDevice_.empty())
    RunCommand("losetup -d " + ShellQuote(loopDevice_) + " >/dev/null 2>&1");
  if (!image_.empty())
    std::filesystem::remove(image_);
}

bool ScopedMount::MakeReadOnly() {
  return !fuse_ &&
         RunCommand("mount -o remount,ro " + ShellQuote(folder_) + " >/dev/null 2>&1").status == 0;
}

bool ScopedMount::Pull() {
  // "[ ]" keeps the pattern from matching the shell that runs pkill.
  std::string served = loopDevice_.empty() ? image_ : loopDevice_;
  return fuse_ &&
         RunCommand("pkill -KILL -f -- " + ShellQuote("[ ]" + served + " ") + " >/dev/null 2>&1")
                 .status == 0;
}

std::string HomeTrashFile(const std::string &name) {
  const char *data = std::getenv("XDG_DATA_HOME");
  return std::string(data ? data : "") + "/Trash/files/" + name;
}

} // namespace reelcraft::test
