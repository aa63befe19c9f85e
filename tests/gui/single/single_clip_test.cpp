// SPDX-License-Identifier: MIT
#include "gui/single/convert_progress_dialog.h"
#include "gui/single/run_convert_progress_dialog.h"
#include "gui/single/single_clip_paths.h"

#include "desktop/clip_delivery.h"
#include "gui/resources/dialog_templates.h"
#include "tests/support/avi_probe.h"
#include "tests/support/clip_builder.h"
#include "tests/support/environment.h"
#include "tests/support/files.h"
#include "tests/support/scoped_mount.h"
#include "tests/support/scripted_messages.h"
#include "tests/support/temp_dir.h"
#include "tests/ui/modal_driver.h"
#include "ui/qt_messages.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <iostream>

namespace reelcraft {
namespace {

namespace fs = std::filesystem;
using test::Bytes;

TEST(SingleClipPaths, FolderChoiceStartsAtTheTargetsFolderAndPutsTheNameIntoTheChosenOne) {
  EXPECT_EQ(TargetFolderOf("/home/me/Documents/clip.avi"), "/home/me/Documents");
  EXPECT_EQ(TargetFolderOf("/clip.avi"), "/");
  EXPECT_EQ(TargetFolderOf("clip.avi"), std::nullopt);
  EXPECT_EQ(RetargetToFolder("/home/me/Documents/clip.avi", "/srv/video"), "/srv/video/clip.avi");
  EXPECT_EQ(RetargetToFolder("/home/me/Documents/clip.avi", "/"), "/clip.avi");
  EXPECT_EQ(RetargetToFolder("/home/me/clip.avi", "/srv//"), "/srv/clip.avi");
  EXPECT_EQ(RetargetToFolder("clip.avi", "/srv"), "/srv/clip.avi");
}

// "qvj", one to four hexadecimal digits, ".avi".
bool IsTemporaryAviName(const std::string &name) {
  size_t digits = name.size() - std::min(name.size(), size_t(7));
  return name.starts_with("qvj") && name.ends_with(".avi") && digits >= 1 && digits <= 4 &&
         name.find_first_not_of("0123456789ABCDEF", 3) == 3 + digits;
}

// Calls `act` once, when the watched window's caption changes: the flow's first step.
class OnCaptionChange : public QObject {
public:
  OnCaptionChange(QWidget &window, std::function<void()> act) : act_(std::move(act)) {
    window.installEventFilter(this);
  }
  bool eventFilter(QObject *, QEvent *event) override {
    if (event->type() == QEvent::WindowTitleChange && act_)
      std::exchange(act_, nullptr)();
    return false;
  }

private:
  std::function<void()> act_;
};

// A click as the window system delivers it: a press and a release in the event queue.
void PostClick(QWidget &button) {
  QPointF at = QRectF(button.rect()).center();
  QPointF global = button.mapToGlobal(at);
  QCoreApplication::postEvent(&button, new QMouseEvent(QEvent::MouseButtonPress, at, global,
                                                       Qt::LeftButton, Qt::LeftButton, {}));
  QCoreApplication::postEvent(&button, new QMouseEvent(QEvent::MouseButtonRelease, at, global,
                                                       Qt::LeftButton, Qt::NoButton, {}));
}

class SingleClip : public ::testing::Test {
protected:
  void SetUp() override { REELCRAFT_NEEDS_PICTURE_TOOLS(); }

  SingleClip() {
    fs::create_directories(tempFolder);
    fs::create_directories(videos);
    hooks.launch = [this](const std::vector<std::string> &argv, const std::string &folder) {
      launched.push_back(argv);
      launchFolder = folder;
      dialogShownAtLaunch = shownDialog && shownDialog->isVisible();
      return playerStarts;
    };
    hooks.hasProgram = [](const std::string &) { return true; };
  }

  test::BuiltClip WriteClip(int pictures, bool withSound = false) {
    test::ClipSpec spec;
    spec.pictures = test::MakePictures(pictures);
    if (withSound) {
      spec.audio = test::ClipAudio{};
      for (int i = 0; i < 5000; ++i)
        spec.audio->pcm.push_back(uint8_t(128 + (i % 50) * 2));
    }
    pictureMd5s = test::Md5Hexes(spec.pictures);
    return test::WriteClip(clip, spec);
  }

  // Runs the dialog; `prepare` sees it before its modal run.
  int Run(bool askFolder, bool deleteSource,
          const std::function<void(ConvertProgressDialog &)> &prepare = {}) {
    Shell shell(hooks);
    ConvertProgressDialog dialog(clip, target, askFolder, deleteSource, nullptr, messages, shell);
    if (prepare)
      prepare(dialog);
    int result = dialog.DoModal();
    caption = dialog.windowTitle().toStdString();
    titleBar = dialog.windowHandle()->title().toStdString();
    auto *bar = dialog.As<QProgressBar>(IDC_PROGRESS);
    barFull = bar->value() == bar->maximum();
    finalTarget = dialog.TargetPath();
    return result;
  }

  std::vector<std::string> TempFiles() const {
    std::vector<std::string> paths;
    for (const std::string &name : test::FolderHolds(tempFolder))
      paths.push_back(tempFolder + "/" + name);
    return paths;
  }

  void ExpectAviOfTheClip(const std::string &path) const {
    EXPECT_EQ(test::PacketMd5s(path, "0:v"), pictureMd5s);
    EXPECT_EQ(test::DecodeErrors(path), "");
  }

  std::string Question(bool deleteSource) const {
    return clip + (deleteSource ? "\nWould you like to convert this file to AVI format?"
                                : "\nWould you like to create a new AVI from this file?");
  }

  test::TempDir dir;
  std::string tempFolder = dir / "tmp";
  std::string videos = dir / "videos";
  test::ScopedEnvironment tmpdir{"TMPDIR", tempFolder};
  std::string clip = dir / "clip.qvj";
  std::string target = dir / "videos/clip.avi";
  ShellHooks hooks;
  ScriptedMessages messages;
  std::vector<std::vector<std::string>> launched;
  std::string launchFolder;
  bool playerStarts = true;
  QWidget *shownDialog = nullptr;
  bool dialogShownAtLaunch = false;
  std::vector<std::string> pictureMd5s;
  std::string caption;
  std::string titleBar;
  bool barFull = false;
  std::string finalTarget;
};

TEST_F(SingleClip, NoEndsWithTwoAndTouchesNothing) {
  WriteClip(3);
  for (bool deleteSource : {false, true}) {
    messages.QueueAnswer(MessageAnswer::No);
    EXPECT_EQ(Run(false, deleteSource), kSingleClipDeclined);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text, Question(deleteSource));
    EXPECT_EQ(messages.shown()[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(caption, "") << "the flow never started";
    EXPECT_EQ(titleBar, " ") << "blank rather than the program's name";
    EXPECT_TRUE(fs::exists(clip));
    EXPECT_TRUE(fs::is_empty(videos));
    EXPECT_TRUE(TempFiles().empty());
    EXPECT_TRUE(launched.empty());
    messages = ScriptedMessages();
  }
}

TEST_F(SingleClip, YesConvertsMovesToTheTargetAndPlaysItLeavingNoTemporaryFile) {
  test::BuiltClip built = WriteClip(6, true);
  messages.QueueAnswer(MessageAnswer::Yes);
  EXPECT_EQ(Run(false, false), kSingleClipDone);
  EXPECT_EQ(messages.texts(), std::vector<std::string>{Question(false)});
  EXPECT_EQ(caption, kWindowCaption);
  EXPECT_TRUE(barFull);
  ExpectAviOfTheClip(target);
  EXPECT_EQ(test::StreamBytes(target, "0:a"), built.sound);
  EXPECT_EQ(launched, (std::vector<std::vector<std::string>>{{"xdg-open", target}}));
  EXPECT_EQ(launchFolder, videos);
  EXPECT_TRUE(fs::exists(clip));
  EXPECT_TRUE(TempFiles().empty());
}

TEST_F(SingleClip, APlayerThatDoesNotStartIsReportedWithTheAviInPlace) {
  WriteClip(2);
  playerStarts = false;
  messages.QueueAnswer(MessageAnswer::Yes);
  EXPECT_EQ(Run(false, false), kSingleClipDone);
  EXPECT_EQ(messages.texts(),
            (std::vector<std::string>{Question(false), "Could not play media file."}));
  ExpectAviOfTheClip(target);
  EXPECT_TRUE(TempFiles().empty());
}

TEST_F(SingleClip, TheSourceIsDeletedOnlyAfterASuccessfulConversion) {
  test::WriteFileBytes(clip, Bytes(100, 0x41)); // no clip at all
  messages.QueueAnswer(MessageAnswer::Yes);
  EXPECT_EQ(Run(false, true), kSingleClipDone);
  ASSERT_GE(messages.texts().size(), 3u);
  // No, the default, to the offer to look for pictures in what is no clip.
  EXPECT_EQ(messages.texts().end()[-2], "Failed to create AVI!\n" + clip);
  EXPECT_EQ(messages.texts().back(),
            "Look for the pictures of this clip all the same? The clip is kept either way.");
  EXPECT_TRUE(fs::exists(clip));
  EXPECT_TRUE(fs::is_empty(videos));
  EXPECT_TRUE(TempFiles().empty());
  EXPECT_TRUE(launched.empty());

  // The clip goes to the Trash only once its AVI is whole and on disk at the target; else it
  // stays, and the last message before the player says so. An AVI that ended early comes with
  // the offer to recover the pictures after the damage, No the default; after a salvage the
  // clip stays too.
  std::vector<Bytes> four = test::MakePictures(4);
  Bytes broken = four[1];
  std::fill(broken.begin() + 700, broken.begin() + 900, 0xD8); // start markers in its data
  broken[700] = 0xFF;
  struct Case {
    const char *what;
    std::vector<Bytes> pictures; // the clip names four
    bool flushes;
    MessageAnswer salvage; // the answer to the offer, where it comes
    std::vector<Bytes> avi;
    std::string kept;
  };
  for (const Case &c :
       {Case{"whole", four, true, MessageAnswer::No, four, ""},
        Case{"not on disk", four, false, MessageAnswer::No, four,
             " was kept: its AVI could not be written to disk."},
        Case{"ended early, no salvage",
             {four[0], four[1]},
             true,
             MessageAnswer::No,
             {four[0], four[1]},
             " was kept: its AVI holds 2 of the 4 pictures the clip names."},
        Case{"damaged, salvaged",
             {four[0], broken, four[2], four[3]},
             true,
             MessageAnswer::Yes,
             {four[0], four[2], four[3]},
             " was kept: its AVI holds 3 of the 4 pictures the clip names. Damaged stretches "
             "passed over: 1."}}) {
    SCOPED_TRACE(c.what);
    test::ClipSpec spec;
    spec.pictures = c.pictures;
    spec.frameCount = 4;
    pictureMd5s = test::Md5Hexes(c.avi);
    test::WriteClip(clip, spec);
    fs::remove(target);
    fs::remove(test::HomeTrashFile("clip.qvj"));
    messages = ScriptedMessages();
    messages.QueueAnswer(MessageAnswer::Yes);
    messages.QueueAnswer(c.salvage);
    launched.clear();
    std::vector<std::string> flushed;
    hooks.flush = [&](const FileRef &file) {
      flushed.push_back(file.path);
      EXPECT_TRUE(fs::exists(clip));
      return c.flushes && FlushToDisk(file);
    };
    EXPECT_EQ(Run(false, true), kSingleClipDone);
    ExpectAviOfTheClip(target);
    EXPECT_EQ(launched.size(), 1u) << "the AVI is played either way";
    EXPECT_TRUE(TempFiles().empty());
    if (c.kept.empty()) {
      EXPECT_EQ(messages.texts(), std::vector<std::string>{Question(true)});
      EXPECT_EQ(flushed, std::vector<std::string>{target});
      EXPECT_FALSE(fs::exists(clip));
      EXPECT_TRUE(fs::exists(test::HomeTrashFile("clip.qvj"))) << "the user can take it back";
      continue;
    }
    EXPECT_TRUE(fs::exists(clip));
    std::string kept = clip + c.kept;
    if (c.avi.size() < 4 && c.salvage == MessageAnswer::No) {
      EXPECT_EQ(messages.shown().back().text, SalvageQuestion(kept));
      EXPECT_EQ(messages.shown().back().buttons, MessageButtons::YesNoDefaultNo);
    } else {
      EXPECT_EQ(messages.texts().back(), kept);
    }
  }
}

TEST_F(SingleClip, CancelClickedWhileTheEngineRunsLeavesNoAviAndNoTemporaryFile) {
  WriteClip(6, true);
  messages.QueueAnswer(MessageAnswer::Yes);
  OnCaptionChange *watch = nullptr;
  EXPECT_EQ(Run(false, true,
                [&](ConvertProgressDialog &dialog) {
                  watch = new OnCaptionChange(
                      dialog, [&dialog] { PostClick(*dialog.Control(IDC_CANCEL_RUN)); });
                  watch->setParent(&dialog);
                }),
            kSingleClipDone);
  EXPECT_EQ(messages.texts(), std::vector<std::string>{Question(true)});
  EXPECT_TRUE(fs::exists(clip)) << "a cancelled run keeps the source";
  EXPECT_TRUE(fs::is_empty(videos));
  EXPECT_TRUE(TempFiles().empty());
  EXPECT_TRUE(launched.empty());
}

TEST_F(SingleClip, CloseBoxAndEscapeDuringTheConversionNeitherCancelNorEndIt) {
  WriteClip(6);
  messages.QueueAnswer(MessageAnswer::Yes);
  EXPECT_EQ(Run(false, false,
                [&](ConvertProgressDialog &dialog) {
                  shownDialog = &dialog;
                  (new OnCaptionChange(dialog, [&dialog] {
                    QCoreApplication::postEvent(
                        &dialog, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, {}));
                    QMetaObject::invokeMethod(
                        &dialog, [&dialog] { dialog.close(); }, Qt::QueuedConnection);
                  }))->setParent(&dialog);
                }),
            kSingleClipDone);
  EXPECT_EQ(messages.texts(), std::vector<std::string>{Question(false)});
  ExpectAviOfTheClip(target);
  EXPECT_EQ(launched.size(), 1u);
  EXPECT_TRUE(dialogShownAtLaunch) << "the flow ends the dialog, not the close box";
  EXPECT_TRUE(TempFiles().empty());
}

TEST_F(SingleClip, AMoveThatFailsOrIsRefusedKeepsTheTemporaryAviAndNamesIt) {
  test::WriteFileBytes(dir / "file", {1});
  std::string tooLong = dir / (std::string(300 - dir.path().string().size(), 'x') + ".avi");
  struct Case {
    std::string target;
    const char *message;
    std::string reason;
  };
  for (const Case &c :
       {Case{dir / "file/clip.avi", "Failed to copy file.\nTemp stored in ",
             "\n" + (dir / "file") + " contains an invalid path."},
        Case{tooLong, "Failed to copy file.\nTemp stored in ", ""},
        Case{dir / "videos/clip.avi", "Cancelled file copy.\nTemp stored in ", ""}}) {
    SCOPED_TRACE(c.target);
    fs::remove_all(tempFolder);
    fs::create_directories(tempFolder);
    WriteClip(3);
    target = c.target;
    if (c.target == dir / "videos/clip.avi")
      test::WriteFileBytes(target, {7}); // the replace question is answered No
    messages = ScriptedMessages();
    messages.QueueAnswer(MessageAnswer::Yes);
    EXPECT_EQ(Run(false, true), kSingleClipDone);
    ASSERT_EQ(TempFiles().size(), 1u);
    std::string kept = TempFiles()[0];
    EXPECT_TRUE(IsTemporaryAviName(fs::path(kept).filename().string())) << kept;
    EXPECT_EQ(messages.texts().back(), c.message + kept + c.reason + "\n" + clip + " was kept.");
    ExpectAviOfTheClip(kept);
    EXPECT_TRUE(fs::exists(clip)) << "the only copy stays until its AVI is in place";
    EXPECT_TRUE(launched.empty());
  }
  EXPECT_EQ(test::ReadFileBytes(dir / "videos/clip.avi"), Bytes{7});
}

// A temporary folder or a card that is full or write-protected: the box names the cause after
// its summary, and the clip stays.
TEST_F(SingleClip, AFullOrWriteProtectedPlaceIsNamedAsTheCause) {
  enum class Place { FullTemporaryFolder, FullCard, WriteProtectedCard };
  struct Case {
    Place place;
    const char *summary;
    const char *cause;
  } cases[] = {
      {Place::FullTemporaryFolder, "Failed to create AVI!\n", "Disk full while accessing "},
      {Place::FullCard, "Failed to copy file.\nTemp stored in ", "Disk full while accessing "},
      {Place::WriteProtectedCard, "Failed to copy file.\nTemp stored in ", "Read-only file system"},
  };
  WriteClip(30); // before the mounts: making the pictures takes room in the temporary folder
  Bytes before = test::ReadFileBytes(clip);
  for (const Case &c : cases) {
    SCOPED_TRACE(int(c.place));
    fs::remove_all(tempFolder);
    fs::remove_all(videos);
    std::string full = c.place == Place::FullTemporaryFolder ? tempFolder : videos;
    test::ScopedMount small(test::ScopedMount::Kind::Tmpfs, full, 64 * 1024);
    if (!small.ok()) {
      std::cout << "[  SKIPPED ] cannot mount a tmpfs here\n";
      return;
    }
    fs::create_directories(tempFolder);
    fs::create_directories(videos);
    if (c.place == Place::WriteProtectedCard) {
      ASSERT_TRUE(small.MakeReadOnly());
    }
    messages = ScriptedMessages();
    messages.QueueAnswer(MessageAnswer::Yes);
    Run(false, true);
    std::string shown = messages.texts().back();
    EXPECT_TRUE(shown.starts_with(c.summary)) << shown;
    EXPECT_NE(shown.find(c.cause), std::string::npos) << shown;
    EXPECT_EQ(shown.find("JPEG"), std::string::npos) << shown;
    EXPECT_EQ(test::ReadFileBytes(clip), before);
    EXPECT_TRUE(launched.empty());
    if (c.place == Place::FullTemporaryFolder) {
      EXPECT_TRUE(TempFiles().empty());
    } else {
      ASSERT_EQ(TempFiles().size(), 1u);
      ExpectAviOfTheClip(TempFiles()[0]);
    }
  }
}

// A clip that lost its first sector is offered a salvage, which finds its pictures; No leaves
// nothing. The clip stays either way.
TEST_F(SingleClip, AClipThatLostItsHeaderIsOfferedASalvage) {
  test::BuiltClip built = WriteClip(6);
  Bytes headless = built.file;
  std::fill(headless.begin(), headless.begin() + 512, 0);
  for (MessageAnswer answer : {MessageAnswer::No, MessageAnswer::Yes}) {
    test::WriteFileBytes(clip, headless);
    messages = ScriptedMessages();
    messages.QueueAnswer(MessageAnswer::Yes); // convert
    messages.QueueAnswer(answer);             // salvage
    Run(false, true);
    std::vector<std::string> texts = messages.texts();
    ASSERT_GE(texts.size(), 3u);
    EXPECT_TRUE(texts[1].starts_with("Unrecgonised file format: ")) << texts[1];
    EXPECT_EQ(texts[3], "Look for the pictures of this clip all the same? The clip is kept "
                        "either way.");
    EXPECT_EQ(test::ReadFileBytes(clip), headless);
    EXPECT_TRUE(TempFiles().empty());
    if (answer == MessageAnswer::No) {
      EXPECT_TRUE(fs::is_empty(videos));
      EXPECT_TRUE(launched.empty());
    } else {
      ExpectAviOfTheClip(target);
      EXPECT_EQ(texts.back(), clip + " was kept: its AVI is a salvage, not the whole clip.");
      EXPECT_EQ(launched.size(), 1u);
    }
  }
}

TEST_F(SingleClip, FolderChoiceDismissedEndsWithOneAndCreatesNothing) {
  WriteClip(2);
  messages.QueueAnswer(MessageAnswer::Yes);
  std::string caption, initial;
  EXPECT_EQ(Run(true, false,
                [&](ConvertProgressDialog &dialog) {
                  test::WhenModalAppears(
                      [&](QWidget *picker) {
                        caption = picker->windowTitle().toStdString();
                        initial = picker->findChild<QLineEdit *>()->text().toStdString();
                        picker->findChild<QDialogButtonBox *>()
                            ->button(QDialogButtonBox::Cancel)
                            ->click();
                      },
                      &dialog);
                }),
            kSingleClipDone);
  EXPECT_EQ(caption, kWindowCaption);
  EXPECT_EQ(initial, videos);
  EXPECT_EQ(messages.texts(), std::vector<std::string>{Question(false)});
  EXPECT_TRUE(fs::is_empty(videos));
  EXPECT_TRUE(TempFiles().empty());
  EXPECT_TRUE(fs::exists(clip));
}

TEST_F(SingleClip, ChosenFolderIsCreatedOnRequestAndTakesTheAvi) {
  WriteClip(2);
  messages.QueueAnswer(MessageAnswer::Yes); // convert
  messages.QueueAnswer(MessageAnswer::Yes); // create the folder
  std::string chosen = dir / "chosen/sub";
  EXPECT_EQ(Run(true, false,
                [&](ConvertProgressDialog &dialog) {
                  test::WhenModalAppears(
                      [&](QWidget *picker) {
                        auto *box = picker->findChild<QLineEdit *>();
                        box->setText(QString::fromStdString(chosen + "/"));
                        box->backspace(); // typed without the trailing '/'
                        QTest::keyClick(box, Qt::Key_Return);
                      },
                      &dialog);
                }),
            kSingleClipDone);
  EXPECT_EQ(finalTarget, chosen + "/clip.avi");
  ExpectAviOfTheClip(chosen + "/clip.avi");
  EXPECT_EQ(launched, (std::vector<std::vector<std::string>>{{"xdg-open", chosen + "/clip.avi"}}));
  EXPECT_TRUE(fs::is_empty(videos));
  EXPECT_TRUE(TempFiles().empty());
}

// The production message boxes, answered by clicking: the question is owned by the dialog.
TEST_F(SingleClip, RealQuestionBoxAnsweredByClicking) {
  WriteClip(2);
  QtMessages real;
  Shell shell(hooks);
  for (const char *answer : {"No", "Yes"}) {
    ConvertProgressDialog dialog(clip, target, false, false, nullptr, real, shell);
    std::string asked;
    test::WhenModalAppears(
        [&](QWidget *window) {
          auto *box = qobject_cast<QMessageBox *>(window);
          ASSERT_NE(box, nullptr);
          EXPECT_EQ(box->parentWidget(), &dialog);
          asked = box->text().toStdString();
          box->button(std::string(answer) == "No" ? QMessageBox::No : QMessageBox::Yes)->click();
        },
        &dialog);
    int result = dialog.DoModal();
    EXPECT_EQ(asked, Question(false)) << answer;
    if (std::string(answer) == "No") {
      EXPECT_EQ(result, kSingleClipDeclined);
      EXPECT_TRUE(fs::is_empty(videos));
    } else {
      EXPECT_EQ(result, kSingleClipDone);
      ExpectAviOfTheClip(target);
    }
  }
}

TEST_F(SingleClip, TheEntryForStartUpRunsTheRequest) {
  WriteClip(2);
  messages.QueueAnswer(MessageAnswer::Yes);
  Shell shell(hooks);
  SingleClipRequest request{clip, target, false, true};
  EXPECT_EQ(RunConvertProgressDialog(request, messages, shell), kSingleClipDone);
  ExpectAviOfTheClip(target);
  EXPECT_FALSE(fs::exists(clip));
  EXPECT_TRUE(fs::exists(test::HomeTrashFile("clip.qvj")));
}

} // namespace
} // namespace reelcraft
