// SPDX-License-Identifier: MIT
#include "sys/descriptor.h"
#include "sys/file_io.h"
#include "sys/temp_files.h"
#include "tests/support/files.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <optional>

namespace reelcraft {
namespace {

using test::Bytes;

bool WriteThrough(const FileRef &file, const std::string &text) {
  Descriptor fd(OpenFileRef(file, O_RDWR));
  return fd.get() >= 0 && WriteSome(fd.get(), text.data(), text.size()) == (long long)text.size();
}

std::string ReadThrough(const FileRef &file) {
  Descriptor fd(OpenFileRef(file, O_RDONLY));
  char buffer[64];
  long long got = fd.get() >= 0 ? ReadSome(fd.get(), buffer, sizeof buffer) : -1;
  return got < 0 ? "<unreadable>" : std::string(buffer, size_t(got));
}

std::string Text(const std::string &path) {
  Bytes bytes = test::ReadFileBytes(path);
  return std::string(bytes.begin(), bytes.end());
}

// The final path never holds a partial file, an existing one is replaced only when asked, and
// whatever does not reach the final path leaves nothing in the folder.
TEST(StagedFile, TheFinalPathHoldsOnlyACompleteFileAndNothingElseStays) {
  struct Case {
    const char *name;
    std::optional<std::string> existing; // at the final path before
    std::optional<bool> commit;          // Commit(replace), or none
    bool committed;
    std::string finalText; // "" for no file
  };
  const Case cases[] = {
      {"new file", std::nullopt, false, true, "new"},
      {"kept without replace", "old", false, false, "old"},
      {"replaced", "old", true, true, "new"},
      {"never committed", std::nullopt, std::nullopt, false, ""},
      {"never committed, old kept", "old", std::nullopt, false, "old"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    test::TempDir dir;
    std::string target = dir / "clip.avi";
    if (c.existing)
      test::WriteFileBytes(target, Bytes(c.existing->begin(), c.existing->end()));
    {
      StagedFile staged;
      ASSERT_TRUE(staged.Reserve(target));
      ASSERT_TRUE(WriteThrough(staged.temporaryFile(), "new"));
      EXPECT_EQ(ReadThrough(staged.temporaryFile()), "new");
      EXPECT_EQ(test::FolderHolds(dir.path().string()).count("clip.avi"), c.existing ? 1u : 0u);
      if (c.commit) {
        EXPECT_EQ(staged.Commit(*c.commit), c.committed);
        if (!c.committed) {
          EXPECT_EQ(staged.error(), EEXIST);
        }
      }
    }
    std::set<std::string> expected;
    if (!c.finalText.empty())
      expected.insert("clip.avi");
    EXPECT_EQ(test::FolderHolds(dir.path().string()), expected);
    if (!c.finalText.empty()) {
      EXPECT_EQ(Text(target), c.finalText);
    }
  }
}

// A scratch file is read back through an open of its own, goes with its object, and stays
// under a "qvj" name when kept.
TEST(ScratchFile, GoesWithItsObjectUnlessKept) {
  for (bool keep : {false, true}) {
    SCOPED_TRACE(keep ? "kept" : "not kept");
    test::TempDir dir;
    std::string kept;
    {
      ScratchFile scratch;
      ASSERT_TRUE(scratch.Create(dir.path().string()));
      ASSERT_TRUE(WriteThrough(scratch.file(), "sound"));
      EXPECT_EQ(ReadThrough(scratch.file()), "sound");
      if (keep) {
        ASSERT_TRUE(scratch.Keep(".avi"));
        kept = scratch.file().path;
      }
    }
    std::set<std::string> holds = test::FolderHolds(dir.path().string());
    if (!keep) {
      EXPECT_TRUE(holds.empty());
      continue;
    }
    ASSERT_EQ(holds.size(), 1u);
    EXPECT_EQ(holds.begin()->substr(0, 3), "qvj");
    EXPECT_TRUE(holds.begin()->ends_with(".avi"));
    EXPECT_EQ(Text(kept), "sound");
  }
}

} // namespace
} // namespace reelcraft
