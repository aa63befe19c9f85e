// SPDX-License-Identifier: MIT
#include "sys/process.h"
#include "sys/raw_file.h"
#include "sys/temp_files.h"
#include "tests/support/environment.h"
#include "tests/support/files.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace reelcraft {
namespace {

namespace fs = std::filesystem;

// The shell of each system: its exit status, a command in a folder, what it prints.
#ifdef _WIN32
const std::vector<std::string> kShell = {"cmd", "/c"};
const char kLater[] = "ping -n 2 127.0.0.1 >NUL & cd > here.txt";
const char kLineEnd[] = "\r\n";
#else
const std::vector<std::string> kShell = {"sh", "-c"};
const char kLater[] = "sleep 0.2; pwd > here.txt";
const char kLineEnd[] = "\n";
#endif

std::vector<std::string> InShell(const std::string &command) {
  std::vector<std::string> argv = kShell;
  argv.push_back(command);
  return argv;
}

TEST(Process, RunAndWaitGivesTheExitStatusOrMinusOne) {
  EXPECT_EQ(RunAndWait(InShell("exit 0")), 0);
  EXPECT_EQ(RunAndWait(InShell("exit 3")), 3);
  EXPECT_EQ(RunAndWait({"no-such-program-reelcraft"}), -1);
  EXPECT_EQ(RunAndWait({}), -1);
  EXPECT_EQ(RunAndRead(InShell("echo a b")), std::string("a b") + kLineEnd);
  EXPECT_EQ(RunAndRead(InShell("exit 1")), std::nullopt);
}

TEST(Process, StartDetachedRunsInTheGivenFolderWithoutWaiting) {
  test::TempDir dir;
  ASSERT_TRUE(StartDetached(InShell(kLater), dir.path().string()));
  EXPECT_FALSE(fs::exists(dir / "here.txt")); // not waited for
  for (int i = 0; i < 600 && !fs::exists(dir / "here.txt"); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  test::Bytes bytes = test::ReadFileBytes(dir / "here.txt");
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), dir.path().string() + kLineEnd);
  EXPECT_FALSE(StartDetached({"no-such-program-reelcraft"}, ""));
}

TEST(TempFiles, ReservedNamesAreNewEmptyAndDistinct) {
  test::TempDir tmp;
  test::ScopedEnvironment tmpdir(test::kTempFolderVariable, tmp.path().string() + "/");
  ASSERT_EQ(TempFolder(), tmp.path().string());

  std::set<std::string> names;
  for (int i = 0; i < 50; ++i) {
    std::string path = ReserveTempName(*TempFolder(), "qvj", 0666).path;
    ASSERT_FALSE(path.empty());
    std::string name = std::filesystem::path(path).filename().string();
    EXPECT_EQ(name.substr(0, 3), "qvj");
    EXPECT_EQ(name.substr(name.size() - 4), ".tmp");
    EXPECT_LE(name.size(), 11u);
    EXPECT_TRUE(std::filesystem::is_regular_file(path));
    EXPECT_EQ(std::filesystem::file_size(path), 0u);
    names.insert(path);
  }
  EXPECT_EQ(names.size(), 50u);
  EXPECT_EQ(ReserveTempName(tmp / "missing", "qvj", 0666).path, "");
#ifndef _WIN32 // no permission bits

  // The mode follows the umask like any new file, since the name may end up as an AVI; a
  // private one stays the owner's alone.
  mode_t previous = umask(022);
  std::string shared = ReserveTempName(*TempFolder(), "qvj", 0666).path;
  std::string own = ReserveTempName(*TempFolder(), "qvj", 0600).path;
  umask(previous);
  EXPECT_EQ(std::filesystem::status(shared).permissions() & std::filesystem::perms::all,
            std::filesystem::perms(0644));
  EXPECT_EQ(std::filesystem::status(own).permissions() & std::filesystem::perms::all,
            std::filesystem::perms(0600));
#endif
}

TEST(TempFiles, AFolderTooLongForAPathBufferIsNoTemporaryFolder) {
  test::ScopedEnvironment tmpdir(test::kTempFolderVariable, "/" + std::string(300, 'x'));
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

// Another user of a folder without the sticky bit swaps a name we created for a link to a file
// of ours, or for a file of theirs: neither is written, flushed or taken for ours.
TEST(OpenForRewrite, AFileWithAnIdentityIsOpenedOnlyWhileItsNameStandsForIt) {
  test::TempDir dir;
  FileRef reserved = ReserveTempName(dir.path().string(), "qvj", 0600);
  ASSERT_TRUE(reserved.identity);
  EXPECT_TRUE(StillSameFile(reserved));
  EXPECT_TRUE(FlushToDisk(reserved));
  int fd = OpenForRewrite(reserved, O_WRONLY, 0666);
  ASSERT_GE(fd, 0);
  close(fd);

  std::string victim = dir / "victim.txt";
  std::ofstream(victim) << "the victim's own file";
  // Moved aside rather than removed, so that its inode number is not given to the newcomer.
  std::filesystem::rename(reserved.path, dir / "moved.tmp");
#ifndef _WIN32 // libstdc++ makes no symbolic links on Windows
  std::filesystem::create_symlink(victim, reserved.path);
  EXPECT_EQ(OpenForRewrite(reserved, O_WRONLY, 0666), -1);
  EXPECT_EQ(errno, ELOOP);
  EXPECT_FALSE(StillSameFile(reserved));
  EXPECT_FALSE(FlushToDisk(reserved));
  EXPECT_EQ(std::filesystem::file_size(victim), 21u);

  std::filesystem::remove(reserved.path);
#endif
  std::ofstream(reserved.path) << "someone else's";
  EXPECT_EQ(OpenForRewrite(reserved, O_WRONLY, 0666), -1);
  EXPECT_EQ(errno, EPERM);
  EXPECT_FALSE(StillSameFile(reserved));
  EXPECT_EQ(std::filesystem::file_size(reserved.path), 14u);
}

} // namespace
} // namespace reelcraft
