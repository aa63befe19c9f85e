// SPDX-License-Identifier: MIT
#include "desktop/clip_delivery.h"

#include "tests/support/environment.h"
#include "tests/support/files.h"
#include "tests/support/scoped_mount.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <iostream>
#include <sys/stat.h>

namespace reelcraft {
namespace {

namespace fs = std::filesystem;
using test::Bytes;

// A clip is removed only once its AVI is whole, in place and on disk, and then only to a Trash;
// every clip that stays is said to have stayed.
TEST(ClipDelivery, TheClipGoesToATrashOnlyOnceItsWholeAviIsSafe) {
  test::TempDir dir;
  // The home Trash of this test, on the same file system as its files.
  test::ScopedEnvironment home("HOME", dir.path().string());
  test::ScopedEnvironment data("XDG_DATA_HOME", dir / "data");
  Bytes aviBytes(300000, 0x5A);
  struct Case {
    const char *what;
    std::string clipFolder; // where the clip lies
    std::string outFolder;  // where its AVI goes
    uint32_t written = 40;  // of 40 pictures
    bool flushes = true;
    bool besideTaken = false; // a file stands where the second copy goes; the user keeps it
    std::function<std::string(const std::string &clip)> trashed; // where the clip went, or ""
    std::string note;                                            // after the clip's path
  };
  auto homeTrash = [](const std::string &) { return test::HomeTrashFile("clip.qvj"); };
  auto none = [](const std::string &) { return std::string(); };
  const Case cases[] = {
      {"whole", dir / "card", dir / "out", 40, true, false, homeTrash, ""},
      {"ended early", dir / "card", dir / "out", 5, true, false, none,
       " was kept: its AVI holds 5 of the 40 pictures the clip names."},
      {"not on disk", dir / "card", dir / "out", 40, false, false, none,
       " was kept: its AVI could not be written to disk."},
      {"second copy declined", dir / "card", dir / "out", 40, true, true, none, " was kept."},
      {"short card", dir / "card", dir / "small", 40, true, false, none, " was kept."},
      {"card without a Trash", dir / "tmpfs", dir / "out", 40, true, false, none,
       " was kept: no Trash could take it ("},
      {"card with a Trash of its own", dir / "ext4", dir / "out", 40, true, false,
       [&](const std::string &) {
         return dir / "ext4/.Trash-" + std::to_string(getuid()) + "/files/clip.qvj";
       },
       ""},
  };
  test::ScopedMount small(test::ScopedMount::Kind::Tmpfs, dir / "small", 128 * 1024);
  test::ScopedMount tmpfs(test::ScopedMount::Kind::Tmpfs, dir / "tmpfs", 1 << 20);
  test::ScopedMount ext4(test::ScopedMount::Kind::LoopExt4, dir / "ext4", 8 << 20);
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    if ((!small.ok() || !tmpfs.ok() || !ext4.ok()) &&
        (c.clipFolder != dir / "card" || c.outFolder != dir / "out")) {
      std::cout << "skipped, cannot mount a card: " << c.what << "\n";
      continue;
    }
    fs::create_directories(c.clipFolder);
    std::string clip = c.clipFolder + "/clip.qvj";
    test::WriteFileBytes(clip, Bytes(1000, 0x11));
    std::string avi = dir / "qvj1.avi";
    test::WriteFileBytes(avi, aviBytes);
    timespec shot[2] = {{1400000000, 0}, {1400000000, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, avi.c_str(), shot, 0), 0);
    std::string beside = c.clipFolder + "/clip.avi";
    if (c.besideTaken)
      test::WriteFileBytes(beside, {7});
    ShellHooks hooks;
    if (!c.flushes)
      hooks.flush = [](const FileRef &) { return false; };
    Shell shell(hooks);
    ClipDelivery delivery(shell, [] { return std::make_unique<CopyObserver>(); });
    std::string target = c.outFolder + "/clip.avi";
    Delivered delivered = delivery.Deliver(
        {clip, FileRef(avi), target, false, FOF_NOCONFIRMATION, true, beside, c.written, 40});

    std::string trashedAt = c.trashed(clip);
    EXPECT_EQ(delivered.clipRemoved, !trashedAt.empty());
    EXPECT_EQ(fs::exists(clip), trashedAt.empty()) << "kept, or gone to a Trash";
    if (!trashedAt.empty()) {
      EXPECT_EQ(test::ReadFileBytes(trashedAt), Bytes(1000, 0x11));
    }
    if (c.note.empty())
      EXPECT_EQ(delivered.note, "");
    else
      EXPECT_TRUE(delivered.note.starts_with(clip + c.note)) << delivered.note;
    if (c.outFolder == dir / "small") {
      EXPECT_EQ(delivered.placed, FileOpResult::Failed);
      EXPECT_TRUE(fs::is_empty(c.outFolder)) << "no partial AVI on the card";
      continue;
    }
    EXPECT_EQ(delivered.placed, FileOpResult::Success);
    EXPECT_EQ(test::ReadFileBytes(target), aviBytes);
    EXPECT_EQ(fs::last_write_time(target), fs::last_write_time(avi)) << "the AVI keeps its date";
    if (c.besideTaken || delivered.clipRemoved) {
      EXPECT_EQ(test::ReadFileBytes(beside), c.besideTaken ? Bytes{7} : aviBytes)
          << "the user's file stays; else an AVI takes the clip's place";
    }
    fs::remove(target);
    fs::remove(beside);
  }
}

TEST(ClipDelivery, ARunNeverReplacesWhatItWroteButAsksForWhatWasThere) {
  test::TempDir dir;
  test::WriteFileBytes(dir / "avi", {1});
  test::WriteFileBytes(dir / "2023 (3).avi", {9});
  Shell shell;
  ClipDelivery delivery(shell, [] { return std::make_unique<CopyObserver>(); });
  EXPECT_EQ(delivery.FreeName(dir / "2023.avi"), dir / "2023.avi") << "not written by the run";
  std::vector<std::string> names;
  for (int i = 0; i < 3; ++i) {
    std::string target = delivery.FreeName(dir / "2023.avi");
    names.push_back(target);
    Delivered delivered = delivery.Deliver({dir / "clip.qvj", FileRef(dir / "avi"), target, false,
                                            FOF_NOCONFIRMATION, false, "", 1, 1});
    EXPECT_EQ(delivered.placed, FileOpResult::Success);
  }
  EXPECT_EQ(names, (std::vector<std::string>{dir / "2023.avi", dir / "2023 (2).avi",
                                             dir / "2023 (4).avi"}));
  EXPECT_EQ(test::ReadFileBytes(dir / "2023 (3).avi"), Bytes{9});
}

} // namespace
} // namespace reelcraft
