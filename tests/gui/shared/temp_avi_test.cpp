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

TEST(TempAviName, OnlyTheExtensionChanges) {
  EXPECT_EQ(TempAviName("/tmp/qvj1F0A.tmp"), "/tmp/qvj1F0A.avi");
  EXPECT_EQ(TempAviName("/tmp/Stamp/qvjF.tmp"), "/tmp/Stamp/qvjF.avi");
}

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

TEST_F(TempAviTest, ReservesAnAviNameAndRemovesItUnlessKept) {
  std::string kept;
  {
    auto temp = TempAvi::Reserve(shell);
    ASSERT_TRUE(temp);
    EXPECT_EQ(fs::path(temp->path()).parent_path(), dir.path());
    EXPECT_TRUE(temp->path().ends_with(".avi"));
    EXPECT_EQ(Files(), Entries{fs::path(temp->path()).filename().string()});
  }
  EXPECT_TRUE(Files().empty());
  {
    auto temp = TempAvi::Reserve(shell);
    kept = temp->path();
    temp->Keep();
  }
  EXPECT_EQ(Files(), Entries{fs::path(kept).filename().string()});
}

// A kept temporary AVI of an earlier run is never taken over by a later reservation whose
// reserved name would turn into it: with every ".avi" name taken there is no temporary AVI.
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
  EXPECT_FALSE(TempAvi::Reserve(shell));
  EXPECT_EQ(fs::hard_link_count(kept[0]) + fs::hard_link_count(kept[1]), 0xFFFFu + 2);
  EXPECT_EQ(test::FolderHolds(dir.path()).size(), 0xFFFFu + 2) << "no reserved name left behind";
}

TEST_F(TempAviTest, NoTemporaryFolderGivesNothing) {
  test::ScopedEnvironment tooLong{"TMPDIR", "/" + std::string(255, 'x')};
  EXPECT_FALSE(TempAvi::Reserve(shell));
}

} // namespace
} // namespace reelcraft
