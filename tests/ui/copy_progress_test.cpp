// SPDX-License-Identifier: MIT
#include "ui/qt_copy_progress.h"

#include "desktop/shell.h"
#include "tests/support/files.h"
#include "tests/support/scripted_messages.h"
#include "tests/support/temp_dir.h"
#include "tests/ui/modal_driver.h"
#include "ui/qt_events.h"
#include "ui/qt_messages.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <functional>

namespace reelcraft {
namespace {

namespace fs = std::filesystem;

constexpr uint32_t kMoveFlags = FOF_SIMPLEPROGRESS | FOF_NORECURSION;
constexpr std::chrono::milliseconds kAtOnce{0};
constexpr size_t kSeveralChunks = 3 * 1024 * 1024 + 7;

// Moves between "file systems": the rename always says EXDEV, so the bytes are copied in
// chunks with the window up.
Shell AcrossFileSystems() {
  ShellHooks hooks;
  hooks.rename = [](const std::string &, const std::string &) { return EXDEV; };
  return Shell(hooks);
}

test::Bytes Pattern(size_t size) {
  test::Bytes bytes(size);
  for (size_t i = 0; i < size; ++i)
    bytes[i] = uint8_t(i * 7 + i / 1001);
  return bytes;
}

Qt::CursorShape Pointer() {
  const QCursor *cursor = QApplication::overrideCursor();
  return cursor ? cursor->shape() : Qt::ArrowCursor;
}

// Notes what the window showed at each step, and can press its Cancel button once it is up.
class WatchedProgress : public QtCopyProgress {
public:
  using QtCopyProgress::QtCopyProgress;
  void Begin(const std::string &title, uint64_t total) override {
    QtCopyProgress::Begin(title, total);
    shownTitle = window()->windowTitle().toStdString();
    if (clickCancel)
      QTimer::singleShot(0, window(), [this] {
        auto *buttons = window()->findChild<QDialogButtonBox *>();
        QTest::mouseClick(buttons->button(QDialogButtonBox::Cancel), Qt::LeftButton);
      });
  }
  bool Progress(uint64_t done, uint64_t total) override {
    bool goOn = QtCopyProgress::Progress(done, total);
    visible = visible || window()->isVisible();
    auto *bar = window()->findChild<QProgressBar *>();
    lastValue = bar->value();
    if (pointers.empty() || pointers.back() != Pointer())
      pointers.push_back(Pointer());
    maximum = bar->maximum();
    if (onProgress)
      onProgress();
    return goOn;
  }

  bool clickCancel = false;
  std::function<void()> onProgress;
  bool visible = false;
  std::string shownTitle;
  int lastValue = -1;
  int maximum = 0;
  std::vector<Qt::CursorShape> pointers;
};

TEST(CopyProgressWindow, ShowsTheTitleAndABarThatEndsFullThenCloses) {
  test::TempDir dir;
  test::WriteFileBytes(dir / "temp.avi", Pattern(kSeveralChunks));
  ScriptedMessages messages;
  WatchedProgress progress(nullptr, messages, kAtOnce);
  EXPECT_EQ(AcrossFileSystems().Move(dir / "temp.avi", dir / "out/clip.avi",
                                     "Writing AVI to target location", kMoveFlags, progress),
            FileOpResult::Success);
  EXPECT_TRUE(progress.visible);
  EXPECT_EQ(progress.shownTitle, "Writing AVI to target location");
  EXPECT_EQ(progress.lastValue, progress.maximum);
  EXPECT_EQ(progress.window(), nullptr);
  EXPECT_EQ(test::ReadFileBytes(dir / "out/clip.avi"), Pattern(kSeveralChunks));
  EXPECT_FALSE(fs::exists(dir / "temp.avi"));

  // Within one file system the move is a rename: no window comes up for it.
  WatchedProgress renamed(nullptr, messages);
  EXPECT_EQ(Shell().Move(dir / "out/clip.avi", dir / "clip.avi", "Writing AVI to target location",
                         kMoveFlags, renamed),
            FileOpResult::Success);
  EXPECT_FALSE(renamed.visible);
  EXPECT_EQ(renamed.lastValue, renamed.maximum);

  // Nor for a copy that is over before the window would be worth reading.
  WatchedProgress quick(nullptr, messages);
  EXPECT_EQ(Shell().Copy(dir / "clip.avi", dir / "out/clip.avi", "Writing AVI to target location",
                         kMoveFlags | FOF_NOCONFIRMATION, quick),
            FileOpResult::Success);
  EXPECT_FALSE(quick.visible);
  EXPECT_EQ(test::ReadFileBytes(dir / "out/clip.avi"), Pattern(kSeveralChunks));
}

// Without a window manager nobody else gives the owner its activation back.
TEST(CopyProgressWindow, ItsOwnerIsTheActiveWindowAgainWhenItCloses) {
  test::TempDir dir;
  test::WriteFileBytes(dir / "temp.avi", Pattern(kSeveralChunks));
  QWidget owner;
  owner.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&owner));
  ScriptedMessages messages;
  WatchedProgress progress(&owner, messages, kAtOnce);
  QWidget *activeWhileCopying = nullptr;
  progress.onProgress = [&] { activeWhileCopying = QApplication::activeWindow(); };
  EXPECT_EQ(AcrossFileSystems().Copy(dir / "temp.avi", dir / "clip.avi",
                                     "Writing AVI to target location", kMoveFlags, progress),
            FileOpResult::Success);
  EXPECT_NE(activeWhileCopying, &owner);
  EXPECT_TRUE(QTest::qWaitForWindowActive(&owner));
}

TEST(CopyProgressWindow, CancelAbortsTheMoveAndLeavesTheSourceWhereItWas) {
  test::TempDir dir;
  test::WriteFileBytes(dir / "temp.avi", Pattern(kSeveralChunks));
  ScriptedMessages messages;
  WatchedProgress progress(nullptr, messages, kAtOnce);
  progress.clickCancel = true;
  EXPECT_EQ(AcrossFileSystems().Move(dir / "temp.avi", dir / "clip.avi",
                                     "Writing AVI to target location", kMoveFlags, progress),
            FileOpResult::Aborted);
  EXPECT_EQ(test::ReadFileBytes(dir / "temp.avi"), Pattern(kSeveralChunks));
  EXPECT_EQ(test::FolderHolds(dir.path()).size(), 1u);
  EXPECT_EQ(progress.window(), nullptr);
}

TEST(CopyProgressWindow, AsksBeforeReplacingAndNoKeepsTheExistingFile) {
  test::TempDir dir;
  Shell shell;
  for (MessageAnswer answer : {MessageAnswer::No, MessageAnswer::Yes}) {
    test::WriteFileBytes(dir / "temp.avi", {1, 2, 3});
    test::WriteFileBytes(dir / "clip.avi", {9});
    ScriptedMessages messages;
    messages.QueueAnswer(answer);
    QtCopyProgress progress(nullptr, messages);
    FileOpResult result = shell.Move(dir / "temp.avi", dir / "clip.avi",
                                     "Writing AVI to target location", kMoveFlags, progress);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text, ReplaceQuestion(dir / "clip.avi"));
    EXPECT_EQ(messages.shown()[0].buttons, MessageButtons::YesNo);
    if (answer == MessageAnswer::No) {
      EXPECT_EQ(result, FileOpResult::Aborted);
      EXPECT_EQ(test::ReadFileBytes(dir / "clip.avi"), test::Bytes{9});
    } else {
      EXPECT_EQ(result, FileOpResult::Success);
      EXPECT_EQ(test::ReadFileBytes(dir / "clip.avi"), (test::Bytes{1, 2, 3}));
      EXPECT_FALSE(fs::exists(dir / "temp.avi"));
    }
  }
}

TEST(CopyProgressWindow, RealReplaceQuestionAnsweredNoByClicking) {
  test::TempDir dir;
  test::WriteFileBytes(dir / "temp.avi", {1, 2, 3});
  test::WriteFileBytes(dir / "clip.avi", {9});
  QtMessages messages;
  QtCopyProgress progress(nullptr, messages);
  QString asked;
  test::WhenModalAppears(
      [&](QWidget *window) {
        auto *box = qobject_cast<QMessageBox *>(window);
        ASSERT_NE(box, nullptr);
        asked = box->text();
        box->button(QMessageBox::No)->click();
      },
      nullptr);
  EXPECT_EQ(Shell().Move(dir / "temp.avi", dir / "clip.avi", "Writing AVI to target location",
                         kMoveFlags, progress),
            FileOpResult::Aborted);
  EXPECT_EQ(asked.toStdString(), ReplaceQuestion(dir / "clip.avi"));
  EXPECT_EQ(test::ReadFileBytes(dir / "clip.avi"), test::Bytes{9});
}

// While the application is busy, the windows that wait for the user still show the ordinary
// pointer: a copy's window with its Cancel, and a message box.
TEST(CopyProgressWindow, WindowsThatWaitForTheUserShowTheOrdinaryPointerWhileBusy) {
  test::TempDir dir;
  test::WriteFileBytes(dir / "temp.avi", Pattern(kSeveralChunks));
  test::WriteFileBytes(dir / "clip.avi", {9});
  QtMessages messages;
  BusyCursor busy;
  std::vector<Qt::CursorShape> inBox;
  test::WhenModalAppears([&](QWidget *window) {
    inBox.push_back(Pointer());
    qobject_cast<QMessageBox *>(window)->button(QMessageBox::Yes)->click();
  });
  WatchedProgress progress(nullptr, messages, kAtOnce);
  EXPECT_EQ(AcrossFileSystems().Copy(dir / "temp.avi", dir / "clip.avi",
                                     "Converting original file to AVI in source location",
                                     kMoveFlags, progress),
            FileOpResult::Success);
  EXPECT_EQ(inBox, std::vector<Qt::CursorShape>{Qt::ArrowCursor});
  EXPECT_TRUE(progress.visible);
  EXPECT_EQ(progress.pointers, std::vector<Qt::CursorShape>{Qt::ArrowCursor});
  EXPECT_EQ(Pointer(), Qt::WaitCursor);
}

} // namespace
} // namespace reelcraft
