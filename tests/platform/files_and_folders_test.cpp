#include "platform/documents_folder.h"
#include "platform/rewrite_open.h"
#include "platform/temp_files.h"
#include "tests/support/environment.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace reelcraft {
namespace {

TEST(DocumentsFolder, FollowsTheXdgUserDirectoriesAndFallsBackToHomeDocuments) {
  test::TempDir home;
  test::ScopedEnvironment homeVar("HOME", home.path().string());
  test::ScopedEnvironment config("XDG_CONFIG_HOME", std::nullopt);
  EXPECT_EQ(DocumentsFolder(), home / "Documents");

  std::filesystem::create_directories(home.path() / ".config");
  std::ofstream(home / ".config/user-dirs.dirs")
      << "# written by xdg-user-dirs-update\nXDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n";
  EXPECT_EQ(DocumentsFolder(), home / "Dokumente");
  std::ofstream(home / ".config/user-dirs.dirs") << "XDG_DOCUMENTS_DIR=\"$HOME/\"\n";
  EXPECT_EQ(DocumentsFolder(), home.path().string());

  test::ScopedEnvironment noHome("HOME", std::nullopt);
  EXPECT_EQ(DocumentsFolder(), std::nullopt);
}

TEST(TempFiles, ReservedNamesAreNewEmptyAndDistinct) {
  test::TempDir tmp;
  test::ScopedEnvironment tmpdir("TMPDIR", tmp.path().string() + "/");
  ASSERT_EQ(TempFolder(), tmp.path().string());

  std::set<std::string> names;
  for (int i = 0; i < 50; ++i) {
    std::string path = ReserveTempName(*TempFolder(), "qvj");
    ASSERT_FALSE(path.empty());
    std::string name = std::filesystem::path(path).filename();
    EXPECT_EQ(name.substr(0, 3), "qvj");
    EXPECT_EQ(name.substr(name.size() - 4), ".tmp");
    EXPECT_LE(name.size(), 11u);
    EXPECT_TRUE(std::filesystem::is_regular_file(path));
    EXPECT_EQ(std::filesystem::file_size(path), 0u);
    names.insert(path);
  }
  EXPECT_EQ(names.size(), 50u);
  EXPECT_EQ(ReserveTempName(tmp / "missing", "qvj"), "");

  // The mode follows the umask like any new file, since the name may end up as an AVI.
  mode_t previous = umask(022);
  std::string shared = ReserveTempName(*TempFolder(), "qvj");
  umask(previous);
  EXPECT_EQ(std::filesystem::status(shared).permissions() & std::filesystem::perms::all,
            std::filesystem::perms(0644));
}

TEST(TempFiles, AFolderTooLongForAPathBufferIsNoTemporaryFolder) {
  test::ScopedEnvironment tmpdir("TMPDIR", "/" + std::string(300, 'x'));
  EXPECT_EQ(TempFolder(), std::nullopt);
}

TEST(OpenForRewrite, EmptiesAnExistingFileAndCreatesAMissingOne) {
  test::TempDir dir;
  std::string full = dir / "full.avi";
  std::ofstream(full) << "earlier contents";
  std::string missing = dir / "missing.avi";
  for (const std::string &path : {full, missing}) {
    int fd = OpenForRewrite(path, O_WRONLY, 0666);
    ASSERT_GE(fd, 0) << path;
    ASSERT_EQ(write(fd, "new", 3), 3);
    close(fd);
    EXPECT_EQ(std::filesystem::file_size(path), 3u) << path;
  }
  EXPECT_EQ(OpenForRewrite(dir / "no/such/folder.avi", O_WRONLY, 0666), -1);
  EXPECT_EQ(errno, ENOENT);
}

} // namespace
} // namespace reelcraft
