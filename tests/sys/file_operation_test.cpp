// SPDX-License-Identifier: MIT
#include "sys/file_operation.h"

#include "sys/file_identity.h"
#include "tests/support/files.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace reelcraft {
namespace {

namespace fs = std::filesystem;

// Records what the operation showed and asked; aborts at a chosen progress call.
class RecordingObserver : public CopyObserver {
public:
  void Begin(const std::string &title, uint64_t total) override {
    titles.push_back(title);
    totalBytes = total;
    events.push_back("begin");
  }
  bool Progress(uint64_t done, uint64_t) override {
    lastDone = done;
    if (events.back() != "progress")
      events.push_back("progress");
    return ++progressCalls != abortAtCall;
  }
  bool AskReplace(const std::string &path) override {
    asked.push_back(path);
    events.push_back("ask");
    return replaceAnswer;
  }
  void End() override {
    ++ends;
    events.push_back("end");
  }

  int abortAtCall = -1;
  bool replaceAnswer = false;
  std::vector<std::string> titles;
  std::vector<std::string> asked;
  uint64_t totalBytes = 0;
  uint64_t lastDone = 0;
  int progressCalls = 0;
  int ends = 0;
  std::vector<std::string> events; // runs of progress calls count once
};

test::Bytes Pattern(size_t size, uint8_t seed) {
  test::Bytes bytes(size);
  for (size_t i = 0; i < size; ++i)
    bytes[i] = uint8_t(i * 31 + seed + i / 977);
  return bytes;
}

constexpr size_t kLarge = 3 * 1024 * 1024 + 123; // several chunks

TEST(CopyFile, CopiesBytesAndModeIntoANewFolderWithProgress) {
  test::TempDir dir;
  test::Bytes bytes = Pattern(kLarge, 1);
  test::WriteFileBytes(dir / "program", bytes);
  fs::permissions(dir / "program", fs::perms(0755));
  RecordingObserver observer;
  EXPECT_EQ(CopyFileWithProgress(dir / "program", dir / "New/Deeper/program", "Installing...",
                                 FOF_SIMPLEPROGRESS, observer),
            FileOpResult::Success);
  EXPECT_EQ(test::ReadFileBytes(dir / "New/Deeper/program"), bytes);
#ifndef _WIN32 // no permission bits there
  EXPECT_EQ(fs::status(dir / "New/Deeper/program").permissions(), fs::perms(0755));
#endif
  EXPECT_EQ(observer.titles, std::vector<std::string>{"Installing..."});
  EXPECT_EQ(observer.totalBytes, kLarge);
  EXPECT_EQ(observer.lastDone, kLarge);
  EXPECT_GT(observer.progressCalls, 2);
  EXPECT_EQ(observer.ends, 1);
  EXPECT_EQ(test::FolderHolds(dir / "New/Deeper").size(), 1u); // no temporary name left behind
}

TEST(CopyFile, AnExistingFolderAsTargetReceivesTheFileUnderItsName) {
  test::TempDir dir;
  test::WriteFileBytes(dir / "clip.avi", {1, 2, 3});
  fs::create_directory(dir / "out");
  RecordingObserver observer;
  EXPECT_EQ(CopyFileWithProgress(dir / "clip.avi", dir / "out", "t", 0, observer),
            FileOpResult::Success);
  EXPECT_EQ(test::ReadFileBytes(dir / "out/clip.avi"), (test::Bytes{1, 2, 3}));
}

TEST(CopyFile, FailsForAMissingSourceOrAnUnwritableTarget) {
  test::TempDir dir;
  test::WriteFileBytes(dir / "source", {1});
  test::WriteFileBytes(dir / "plain", {2});
  RecordingObserver observer;
  EXPECT_EQ(CopyFileWithProgress(dir / "missing", dir / "target", "t", 0, observer),
            FileOpResult::Failed);
  // A regular file where the target's folder should be: nothing can be made below it.
  EXPECT_EQ(CopyFileWithProgress(dir / "source", dir / "plain/sub/target", "t", 0, observer),
            FileOpResult::Failed);
  EXPECT_EQ(CopyFileWithProgress(dir / "source", dir / "plain/target", "t", 0, observer),
            FileOpResult::Failed);
  EXPECT_EQ(observer.ends, 2);
  EXPECT_EQ(test::ReadFileBytes(dir / "plain"), test::Bytes{2});
}

TEST(CopyFile, AbortLeavesNoPartialFileAndKeepsAnOldTarget) {
  test::TempDir dir;
  test::WriteFileBytes(dir / "source", Pattern(kLarge, 2));
  for (int call : {1, 2, 5}) {
    RecordingObserver observer;
    observer.abortAtCall = call;
    EXPECT_EQ(CopyFileWithProgress(dir / "source", dir / "out/target", "t", 0, observer),
              FileOpResult::Aborted);
    EXPECT_EQ(observer.ends, 1);
    EXPECT_FALSE(fs::exists(dir / "out/target"));
    EXPECT_EQ(test::FolderHolds(dir / "out").size(), 0u);
  }
  test::WriteFileBytes(dir / "out/target", {9, 9});
  RecordingObserver observer;
  observer.abortAtCall = 3;
  EXPECT_EQ(
      CopyFileWithProgress(dir / "source", dir / "out/target", "t", FOF_NOCONFIRMATION, observer),
      FileOpResult::Aborted);
  EXPECT_EQ(test::ReadFileBytes(dir / "out/target"), (test::Bytes{9, 9}));
  EXPECT_EQ(test::FolderHolds(dir / "out").size(), 1u);
}

TEST(CopyFile, AsksBeforeReplacingOnlyWithoutTheNoConfirmationFlag) {
  test::TempDir dir;
  test::WriteFileBytes(dir / "source", {1, 2});
  test::WriteFileBytes(dir / "target", {7});

  RecordingObserver declined;
  EXPECT_EQ(CopyFileWithProgress(dir / "source", dir / "target", "t",
                                 FOF_SIMPLEPROGRESS | FOF_NORECURSION, declined),
            FileOpResult::Aborted);
  EXPECT_EQ(declined.asked, std::vector<std::string>{dir / "target"});
  EXPECT_EQ(test::ReadFileBytes(dir / "target"), test::Bytes{7});

  RecordingObserver accepted;
  accepted.replaceAnswer = true;
  EXPECT_EQ(CopyFileWithProgress(dir / "source", dir / "target", "t", 0, accepted),
            FileOpResult::Success);
  EXPECT_EQ(test::ReadFileBytes(dir / "target"), (test::Bytes{1, 2}));

  test::WriteFileBytes(dir / "other", {5});
  RecordingObserver unasked;
  EXPECT_EQ(CopyFileWithProgress(dir / "other", dir / "target", "t",
                                 FOF_NOCONFIRMATION | FOF_SIMPLEPROGRESS | FOF_NORECURSION,
                                 unasked),
            FileOpResult::Success);
  EXPECT_TRUE(unasked.asked.empty());
  EXPECT_EQ(test::ReadFileBytes(dir / "target"), test::Bytes{5});

  RecordingObserver fresh;
  EXPECT_EQ(CopyFileWithProgress(dir / "other", dir / "new", "t", 0, fresh), FileOpResult::Success);
  EXPECT_TRUE(fresh.asked.empty());
}

TEST(CopyFile, TheObserverIsCalledInItsDocumentedOrder) {
  test::TempDir dir;
  test::WriteFileBytes(dir / "source", Pattern(kLarge, 8));
  test::WriteFileBytes(dir / "target", {1});
  using Events = std::vector<std::string>;
  RecordingObserver replaced;
  replaced.replaceAnswer = true;
  CopyFileWithProgress(dir / "source", dir / "target", "t", 0, replaced);
  EXPECT_EQ(replaced.events, (Events{"begin", "ask", "progress", "end"}));
  RecordingObserver kept;
  CopyFileWithProgress(dir / "source", dir / "target", "t", 0, kept);
  EXPECT_EQ(kept.events, (Events{"begin", "ask", "end"}));
  RecordingObserver missing;
  CopyFileWithProgress(dir / "missing", dir / "target", "t", 0, missing);
  EXPECT_TRUE(missing.events.empty());
}

TEST(CopyFile, OntoItselfKeepsTheFile) {
  test::TempDir dir;
  test::WriteFileBytes(dir / "same", Pattern(1000, 3));
  RecordingObserver observer;
  EXPECT_EQ(CopyFileWithProgress(dir / "same", dir / "same", "t", FOF_NOCONFIRMATION, observer),
            FileOpResult::Success);
  EXPECT_EQ(test::ReadFileBytes(dir / "same"), Pattern(1000, 3));
}

TEST(MoveFile, WithinAFileSystemIsARename) {
  test::TempDir dir;
  test::WriteFileBytes(dir / "temp.avi", Pattern(5000, 4));
  std::optional<FileIdentity> before = IdentityOfPath(dir / "temp.avi");
  ASSERT_TRUE(before);
  RecordingObserver observer;
  EXPECT_EQ(MoveFileWithProgress(dir / "temp.avi", dir / "Target/clip.avi",
                                 "Writing AVI to target location", 0x1100, observer),
            FileOpResult::Success);
  EXPECT_EQ(IdentityOfPath(dir / "Target/clip.avi"), before);
  EXPECT_FALSE(fs::exists(dir / "temp.avi"));
  EXPECT_EQ(observer.lastDone, 5000u);
  EXPECT_EQ(observer.ends, 1);
}

TEST(MoveFile, AsksBeforeReplacingAndKeepsBothFilesWhenDeclined) {
  test::TempDir dir;
  test::WriteFileBytes(dir / "temp.avi", {1});
  test::WriteFileBytes(dir / "clip.avi", {2});
  RecordingObserver observer;
  EXPECT_EQ(MoveFileWithProgress(dir / "temp.avi", dir / "clip.avi", "t", 0x1100, observer),
            FileOpResult::Aborted);
  EXPECT_EQ(observer.asked, std::vector<std::string>{dir / "clip.avi"});
  EXPECT_TRUE(fs::exists(dir / "temp.avi"));
  EXPECT_EQ(test::ReadFileBytes(dir / "clip.avi"), test::Bytes{2});

  observer.replaceAnswer = true;
  EXPECT_EQ(MoveFileWithProgress(dir / "temp.avi", dir / "clip.avi", "t", 0x1100, observer),
            FileOpResult::Success);
  EXPECT_EQ(test::ReadFileBytes(dir / "clip.avi"), test::Bytes{1});
}

TEST(MoveFile, AFailedMoveKeepsItsSource) {
  test::TempDir dir;
  test::WriteFileBytes(dir / "temp.avi", {1, 2});
  test::WriteFileBytes(dir / "plain", {3});
  RecordingObserver observer;
  EXPECT_EQ(MoveFileWithProgress(dir / "temp.avi", dir / "plain/clip.avi", "t", 0, observer),
            FileOpResult::Failed);
  EXPECT_EQ(test::ReadFileBytes(dir / "temp.avi"), (test::Bytes{1, 2}));
  EXPECT_EQ(MoveFileWithProgress(dir / "gone.avi", dir / "clip.avi", "t", 0, observer),
            FileOpResult::Failed);
}

int CrossDeviceRename(const std::string &, const std::string &) { return EXDEV; }

TEST(MoveFile, BetweenFileSystemsCopiesThenRemovesTheSource) {
  test::TempDir dir;
  test::Bytes bytes = Pattern(kLarge, 5);
  test::WriteFileBytes(dir / "temp.avi", bytes);
  fs::permissions(dir / "temp.avi", fs::perms(0640));
  RecordingObserver observer;
  EXPECT_EQ(MoveFileWithProgress(dir / "temp.avi", dir / "Target/clip.avi", "t", 0x1100, observer,
                                 CrossDeviceRename),
            FileOpResult::Success);
  EXPECT_EQ(test::ReadFileBytes(dir / "Target/clip.avi"), bytes);
#ifndef _WIN32 // no permission bits there
  EXPECT_EQ(fs::status(dir / "Target/clip.avi").permissions(), fs::perms(0640));
#endif
  EXPECT_FALSE(fs::exists(dir / "temp.avi"));
  EXPECT_GT(observer.progressCalls, 2);
}

TEST(MoveFile, AbortBetweenFileSystemsKeepsTheSourceAndLeavesNoTarget) {
  test::TempDir dir;
  test::Bytes bytes = Pattern(kLarge, 6);
  test::WriteFileBytes(dir / "temp.avi", bytes);
  RecordingObserver observer;
  observer.abortAtCall = 4;
  EXPECT_EQ(MoveFileWithProgress(dir / "temp.avi", dir / "Target/clip.avi", "t", 0x1100, observer,
                                 CrossDeviceRename),
            FileOpResult::Aborted);
  EXPECT_EQ(test::ReadFileBytes(dir / "temp.avi"), bytes);
  EXPECT_EQ(test::FolderHolds(dir / "Target").size(), 0u);
}

TEST(MoveFile, AcrossRealFileSystemsWhenTheMachineHasTwo) {
#ifdef _WIN32
  GTEST_SKIP() << "no second file system known to be there";
#else
  struct stat shm, tmp;
  test::TempDir dir;
  if (stat("/dev/shm", &shm) != 0 || stat(dir.path().c_str(), &tmp) != 0 ||
      shm.st_dev == tmp.st_dev || access("/dev/shm", W_OK) != 0)
    GTEST_SKIP() << "no second writable file system";
  std::string source = "/dev/shm/reelcraft-move-test-" + std::to_string(getpid());
  test::Bytes bytes = Pattern(300000, 7);
  test::WriteFileBytes(source, bytes);
  RecordingObserver observer;
  EXPECT_EQ(MoveFileWithProgress(source, dir / "moved", "t", 0x1100, observer),
            FileOpResult::Success);
  EXPECT_EQ(test::ReadFileBytes(dir / "moved"), bytes);
  EXPECT_FALSE(fs::exists(source));
#endif
}

} // namespace
} // namespace reelcraft
