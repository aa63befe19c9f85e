// SPDX-License-Identifier: MIT
#include "sys/directory_search.h"
#include "tests/support/files.h"
#include "tests/support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace reelcraft {
namespace {

namespace fs = std::filesystem;
using Entries = std::vector<std::string>;

TEST(DirectorySearch, MatchesWildcardsWithoutRegardToLetterCase) {
  EXPECT_TRUE(MatchesPattern("a.qvj", "*.qvj"));
  EXPECT_TRUE(MatchesPattern("CLIP.QVJ", "*.qvj"));
  EXPECT_TRUE(MatchesPattern("a.b.qvj", "*.qvj"));
  EXPECT_TRUE(MatchesPattern(".qvj", "*.qvj"));
  EXPECT_TRUE(MatchesPattern("ab.qvj", "a?.QVJ"));
  EXPECT_FALSE(MatchesPattern("a.qvjx", "*.qvj"));
  EXPECT_FALSE(MatchesPattern("a.qv", "*.qvj"));
  EXPECT_FALSE(MatchesPattern("aqvj", "*.qvj"));
  EXPECT_FALSE(MatchesPattern("abc.qvj", "a?.qvj"));
}

TEST(DirectorySearch, ListsMatchingFilesAndFoldersInCaseInsensitiveOrder) {
  test::TempDir dir;
  for (const char *name : {"b.qvj", "C.QVJ", "a.Qvj", "notes.txt", "a.avi"})
    test::WriteFileBytes(dir / name, {1, 2, 3});
  fs::create_directory(dir / "old.qvj");

  DirectorySearch search = SearchDirectory(dir.path().string(), "*.qvj");
  EXPECT_TRUE(search.started);
  EXPECT_EQ(search.error, 0);
  EXPECT_EQ(search.names, (Entries{"a.Qvj", "b.qvj", "C.QVJ", "old.qvj"}));

  EXPECT_FALSE(SearchDirectory(dir.path().string(), "*.mov").started);
  EXPECT_FALSE(SearchDirectory(dir / "missing", "*.qvj").started);
}

} // namespace
} // namespace reelcraft
