// SPDX-License-Identifier: MIT
#include "gui/shared/temp_avi.h"
#include "tests/support/environment.h"
#include "tests/support/files.h"
#include "tests/support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace reelcraft {
namespace {

namespace fs = std::filesystem;
using Entries = std::vector<std::string>;

class TempAviTest : public ::testing::Test {
protected:
  test::TempDir dir;
  test::ScopedEnvironment tmpdir{"TMPDIR", dir.path().string()};
  Shell shell;

  Entries Files() const {
    std::set<std::string> names = test::FolderHolds(dir.path());
    return {names.begin(), names.end()};
  }
};

// Until it is kept, the temporary AVI has no name (or, where the folder cannot have unnamed
// files, a locked scratch name); kept, it is a "qvjXXXX.avi" that holds what was written.
TEST_F(TempAviTest, HasNoNameUntilKeptAndThenAnAviName) {
  {
    auto temp = TempAvi::Reserve(shell);
    ASSERT_TRUE(temp);
    ASSERT_GE(temp->file().descriptor, 0) << "the test folder takes unnamed files";
    EXPECT_EQ(temp->path(), dir.path().string());
    EXPECT_TRUE(Files().empty());
  }
  EXPECT_TRUE(Files().empty());
  std::string kept;
  {
    auto temp = TempAvi::Reserve(shell);
    test::WriteFileBytes(DescriptorPath(temp->file().descriptor), {1, 2, 3});
    ASSERT_TRUE(temp->Keep());
    kept = temp->path();
    EXPECT_TRUE(temp->kept());
    EXPECT_TRUE(StillSameFile(temp->file()));
  }
  std::string name = fs::path(kept).filename().string();
  EXPECT_TRUE(name.starts_with("qvj") && name.ends_with(".avi")) << name;
  EXPECT_EQ(Files(), Entries{name});
  EXPECT_EQ(test::ReadFileBytes(kept), (test::Bytes{1, 2, 3}));
}

// A kept temporary AVI of an earlier run is never taken over by a later one: with every ".avi"
// name taken, the new one cannot be kept.
TEST_F(TempAviTest, AnAviNameThatIsTakenIsNeverTakenOver) {
  // Every name is a link to one of two files (a file system limits the links to one), so two
  // link counts tell that none was replaced.
  const std::string kept[2] = {dir / "kept0", dir / "kept1"};
  for (const std::string &file : kept)
    test::WriteFileBytes(file, {1, 2, 3});
  for (int i = 1; i <= 0xFFFF; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "qvj%X.avi", i);
    ASSERT_EQ(link(kept[i % 2].c_str(), (dir / name).c_str()), 0);
  }
  {
    auto temp = TempAvi::Reserve(shell);
    ASSERT_TRUE(temp);
    EXPECT_FALSE(temp->Keep());
  }
  EXPECT_EQ(fs::hard_link_count(kept[0]) + fs::hard_link_count(kept[1]), 0xFFFFu + 2);
  EXPECT_EQ(test::FolderHolds(dir.path()).size(), 0xFFFFu + 2) << "nothing left behind";
}

TEST_F(TempAviTest, NoTemporaryFolderGivesNothing) {
  test::ScopedEnvironment tooLong{"TMPDIR", "/" + std::string(255, 'x')};
  EXPECT_FALSE(TempAvi::Reserve(shell));
}

} // namespace
} // namespace reelcraft
