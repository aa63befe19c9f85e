// SPDX-License-Identifier: MIT
// Windows: the clip's way into the Recycle Bin, under the rule it follows elsewhere.
#include "desktop/clip_delivery.h"

#include "sys/file_io.h"
#include "sys/temp_files.h"
#include "tests/support/files.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <windows.h>

#include <shellapi.h> // after windows.h, whose types it uses

namespace reelcraft {
namespace {

namespace fs = std::filesystem;
using test::Bytes;

int64_t ItemsInRecycleBin() {
  SHQUERYRBINFO info = {};
  info.cbSize = sizeof info;
  return SHQueryRecycleBinW(nullptr, &info) == S_OK ? info.i64NumItems : -1;
}

TEST(RecycleBin, TheClipGoesThereOnlyOnceItsWholeAviIsSafe) {
  struct Case {
    const char *what;
    uint32_t written; // of 40 pictures
    bool flushes;
    bool removed;
    bool unnamed = false; // moved from a temporary AVI that leaves with its handle
  };
  const Case cases[] = {
      {"whole", 40, true, true},
      {"ended early", 5, true, false},
      {"not on disk", 40, false, false},
      {"moved from a file without a name", 40, true, true, true},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    test::TempDir dir;
    std::string clip = dir / "clip.qvj";
    test::WriteFileBytes(clip, Bytes(1000, 0x11));
    test::WriteFileBytes(dir / "qvj1.avi", Bytes(3000, 0x5A));
    ScratchFile scratch;
    if (c.unnamed) {
      ASSERT_TRUE(scratch.Create(dir.path().string(), 0666));
      Bytes avi(3000, 0x5A);
      ASSERT_EQ(WriteAt(scratch.file().descriptor, avi.data(), avi.size(), 0), 3000);
    }
    FileRef avi = c.unnamed ? scratch.file() : FileRef(dir / "qvj1.avi");
    ShellHooks hooks;
    if (!c.flushes)
      hooks.flush = [](const FileRef &) { return false; };
    Shell shell(hooks);
    ClipDelivery delivery(shell, [] { return std::make_unique<CopyObserver>(); });
    int64_t before = ItemsInRecycleBin();
    Delivered delivered = delivery.Deliver(
        {clip, avi, dir / "out\\clip.avi", c.unnamed, FOF_NOCONFIRMATION, true, "", c.written, 40});
    EXPECT_EQ(delivered.placed, FileOpResult::Success);
    EXPECT_EQ(test::ReadFileBytes(dir / "out\\clip.avi"), Bytes(3000, 0x5A));
    EXPECT_EQ(delivered.clipRemoved, c.removed);
    EXPECT_EQ(fs::exists(clip), !c.removed);
    EXPECT_EQ(ItemsInRecycleBin(), before + (c.removed ? 1 : 0)) << "taken back from there";
    if (!c.removed) {
      EXPECT_TRUE(delivered.note.starts_with(clip + " was kept")) << delivered.note;
    }
  }
}

} // namespace
} // namespace reelcraft
