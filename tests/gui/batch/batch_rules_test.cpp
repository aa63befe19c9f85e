// SPDX-License-Identifier: MIT
#include "gui/batch/batch_paths.h"
#include "gui/batch/folder_listing.h"
#include "sys/directory_search.h"
#include "sys/file_system.h"
#include "tests/support/environment.h"
#include "tests/support/files.h"
#include "tests/support/temp_dir.h"

#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace reelcraft {
namespace {

namespace fs = std::filesystem;
using Entries = std::vector<std::string>;

void Touch(const std::string &path) { test::WriteFileBytes(path, {1, 2, 3}); }

// A read that fails part-way keeps what it found; one that fails before any match is a search
// that did not start.
TEST(FolderListing, AReadFailingPartWayKeepsItsEntriesAndGivesTheSystemText) {
  auto failing = [](Entries names) {
    return [names](const std::string &) { return DirectoryEntries{true, names, EIO}; };
  };
  FolderListing listing = ListFolder("/clips", "*.qvj", failing({"b.qvj", "x.txt", "a.qvj"}));
  EXPECT_TRUE(listing.found);
  EXPECT_EQ(listing.entries, (Entries{"/clips/a.qvj", "/clips/b.qvj"}));
  EXPECT_EQ(listing.failure, "Failed to find next file.\nInput/output error");

  listing = ListFolder("/clips", "*.qvj", failing({"x.txt"}));
  EXPECT_FALSE(listing.found);
  EXPECT_TRUE(listing.entries.empty());
  EXPECT_TRUE(listing.failure.empty());
}

TEST(FolderListing, EntriesKeepTheFolderTextAsTypedWithOneSeparator) {
  test::TempDir dir;
  fs::create_directory(dir / "in");
  Touch(dir / "in/A.QVJ");
  std::string in = dir / "in";

  EXPECT_EQ(ListFolder(in, kClipPattern).entries, Entries{in + "/A.QVJ"});
  EXPECT_EQ(ListFolder(in + "/", kClipPattern).entries, Entries{in + "/A.QVJ"});
  // Not tidied: a doubled separator and a step through ".." stay as typed.
  std::string roundabout = dir.path().string() + "//in/../in";
  EXPECT_EQ(ListFolder(roundabout, kClipPattern).entries, Entries{roundabout + "/A.QVJ"});

  FolderListing none = ListFolder(in, kAviPattern);
  EXPECT_FALSE(none.found);
  EXPECT_TRUE(none.failure.empty());
}

TEST(FolderListing, AnEmptyFolderTextSearchesTheRoot) {
  FolderListing listing = ListFolder("", "t*");
  EXPECT_TRUE(listing.found);
  EXPECT_NE(std::find(listing.entries.begin(), listing.entries.end(), "/tmp"),
            listing.entries.end());
}

TEST(BatchPaths, TargetCutsAtTheFirstDotAndTheAviBesideTheClipAtTheLast) {
  EXPECT_EQ(WithTrailingSeparator(""), "/");
  EXPECT_EQ(WithTrailingSeparator("/out"), "/out/");
  EXPECT_EQ(WithTrailingSeparator("/out/"), "/out/");
  EXPECT_EQ(TargetPath("/out/", "/in/a.b.qvj"), "/out/a.avi");
  EXPECT_EQ(TargetPath("/out/", "/in.x/clip.qvj"), "/out/clip.avi");
  EXPECT_EQ(SourceLocationAvi("/in/a.b.qvj"), "/in/a.b.avi");
  EXPECT_EQ(SourceLocationAvi("/in.x/clip.qvj"), "/in.x/clip.avi");
  EXPECT_TRUE(FitsPathBuffer(std::string(259, 'a')));
  EXPECT_FALSE(FitsPathBuffer(std::string(260, 'a')));
}

} // namespace
} // namespace reelcraft
