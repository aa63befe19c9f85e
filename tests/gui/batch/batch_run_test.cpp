// SPDX-License-Identifier: MIT
#include "tests/gui/batch/batch_test_fixture.h"

#include "gui/batch/run_batch_window.h"
#include "gui/resources/dialog_templates.h"
#include "sys/file_operation.h"
#include "tests/support/avi_probe.h"
#include "tests/support/files.h"
#include "tests/support/scoped_mount.h"
#include "tests/ui/modal_driver.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include <filesystem>

namespace reelcraft::test {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

class BatchRunTest : public BatchWindowTest {
protected:
  void SetUp() override { REELCRAFT_NEEDS_PICTURE_TOOLS(); }

  // Runs `act` once the pass of the `n`th clip (from 1) has converted a picture or two.
  void DuringConversion(BatchDialog &dialog, int n, std::function<void()> act) {
    auto done = std::make_shared<bool>(false);
    QObject::connect(dialog.As<QProgressBar>(IDC_PROGRESS), &QProgressBar::valueChanged, &dialog,
                     [this, &dialog, n, act, done](int value) {
                       if (*done || value == 0 || Avis(dialog).count() != n - 1 + aviBefore)
                         return;
                       *done = true;
                       // Posted, so that it runs inside the engine's pump, as a click would.
                       QMetaObject::invokeMethod(&dialog, act, Qt::QueuedConnection);
                     });
  }
  void SelectAll(BatchDialog &dialog) {
    for (int i = 0; i < Clips(dialog).count(); ++i)
      Clips(dialog).item(i)->setSelected(true);
  }
  void TickDeleteOriginal(BatchDialog &dialog) {
    dialog.As<QCheckBox>(IDC_DELETE_ORIGINAL)->setChecked(true);
  }

  int aviBefore = 0;
};

TEST_F(BatchRunTest, SelectedClipsAreConvertedIntoTheOutputFolderAndSelectedThere) {
  TestClip a = Clip("a.qvj", 3);
  TestClip b = Clip("b.qvj", 4, true);
  TestClip c = Clip("c.qvj", 2);
  Clip("d.qvj", 1);
  RunWindow([&](BatchDialog &dialog) {
    QListWidget &clips = Clips(dialog);
    for (int i : {0, 1, 2})
      clips.item(i)->setSelected(true);
    bool cancelLive = false, createOff = true;
    DuringConversion(dialog, 2, [&] {
      cancelLive = Enabled(dialog, IDC_CANCEL_RUN);
      createOff = !Enabled(dialog, IDC_CREATE) && !Enabled(dialog, IDC_CREATE_ALL) &&
                  !Enabled(dialog, IDC_PLAY);
    });
    Click(dialog, IDC_CREATE);
    EXPECT_TRUE(cancelLive);
    EXPECT_TRUE(createOff);

    EXPECT_EQ(Entries(clips).size(), 4u);
    EXPECT_TRUE(Selected(clips).empty());
    EXPECT_EQ(Entries(Avis(dialog)), (Texts{Out("a.avi"), Out("b.avi"), Out("c.avi")}));
    EXPECT_EQ(Selected(Avis(dialog)), Texts{Out("c.avi")});
    EXPECT_EQ(dialog.As<QProgressBar>(IDC_PROGRESS)->value(), 0);
    for (int id : {IDC_CREATE, IDC_CREATE_ALL, IDC_PLAY})
      EXPECT_TRUE(Enabled(dialog, id)) << id;
    EXPECT_FALSE(Enabled(dialog, IDC_CANCEL_RUN));
  });
  EXPECT_TRUE(messages.texts().empty());
  EXPECT_EQ(copies.titles, Texts(3, "Writing AVI to target location"));
  ExpectConverted(Out("a.avi"), a);
  ExpectConverted(Out("b.avi"), b);
  ExpectConverted(Out("c.avi"), c);
  EXPECT_FALSE(fs::exists(Out("d.avi")));
  EXPECT_TRUE(TempFiles().empty());
}

TEST_F(BatchRunTest, TheTargetIsCutAtTheFirstDotAndTheAviBesideTheClipAtTheLast) {
  TestClip clip = Clip("a.b.qvj", 2);
  Clip("c.qvj", 1);
  // Both copies that replace the clip are made and on disk before the clip goes to the Trash; a
  // flush that fails keeps the clip, and says so.
  std::vector<std::string> clipThere;
  copies.onBegin = [&](const std::string &title) {
    clipThere.push_back(title + (fs::exists(In("a.b.qvj")) ? ": there" : ": gone"));
  };
  std::vector<std::string> flushes;
  flush = [&](const FileRef &file) {
    flushes.push_back(fs::path(file.path).filename().string() +
                      (fs::exists(In("a.b.qvj")) ? ": there" : ": gone"));
    return FlushToDisk(file);
  };
  RunWindow([&](BatchDialog &dialog) {
    TickDeleteOriginal(dialog);
    Clips(dialog).item(0)->setSelected(true);
    Click(dialog, IDC_CREATE);
    EXPECT_EQ(Entries(Clips(dialog)), Texts{In("c.qvj")}) << "the removed clip left the list";
    EXPECT_EQ(Selected(Avis(dialog)), Texts{Out("a.avi")});
    flush = [](const FileRef &) { return false; };
    Clips(dialog).item(0)->setSelected(true);
    Click(dialog, IDC_CREATE);
    EXPECT_EQ(Entries(Clips(dialog)), Texts{In("c.qvj")});
  });
  EXPECT_EQ(messages.texts(),
            Texts{In("c.qvj") + " was kept: its AVI could not be written to disk."});
  EXPECT_EQ(clipThere, (Texts{"Writing AVI to target location: there",
                              "Converting original file to AVI in source location: there",
                              "Writing AVI to target location: gone"}));
  EXPECT_EQ(flushes, (Texts{"a.avi: there", "a.b.avi: there"}));
  ExpectConverted(Out("a.avi"), clip);
  EXPECT_EQ(ReadFileBytes(In("a.b.avi")), ReadFileBytes(Out("a.avi")));
  EXPECT_TRUE(fs::exists(HomeTrashFile("a.b.qvj"))) << "the user can take it back";
  EXPECT_TRUE(fs::exists(In("c.qvj")));
  EXPECT_TRUE(TempFiles().empty());
}

// Clips whose names share their part before the first dot: each gets an AVI of its own, and
// only the AVI that was there before the run is offered for replacement.
TEST_F(BatchRunTest, ARunNeverReplacesAnAviItWrote) {
  TestClip beach = Clip("2023.07.14_beach.qvj", 2);
  TestClip park = Clip("2023.07.15_park.qvj", 3);
  TestClip zoo = Clip("2023.08.01_zoo.qvj", 1);
  WriteFileBytes(Out("2023.avi"), {1});
  messages.QueueAnswer(MessageAnswer::Yes);
  RunWindow([&](BatchDialog &dialog) {
    TickDeleteOriginal(dialog);
    Click(dialog, IDC_CREATE_ALL);
    EXPECT_EQ(Entries(Avis(dialog)),
              (Texts{Out("2023.avi"), Out("2023 (2).avi"), Out("2023 (3).avi")}));
    EXPECT_EQ(Clips(dialog).count(), 0);
  });
  EXPECT_EQ(messages.texts(),
            Texts{Out("2023.avi") + "\nFile exists in do you want to overwrite?"});
  ExpectConverted(Out("2023.avi"), beach);
  ExpectConverted(Out("2023 (2).avi"), park);
  ExpectConverted(Out("2023 (3).avi"), zoo);
  EXPECT_EQ(ReadFileBytes(In("2023.07.15_park.avi")), ReadFileBytes(Out("2023 (2).avi")));
}

// Output folder text equal to the input folder's and a name with one dot: the AVI beside the
// clip is the target itself, and no second copy is made.
TEST_F(BatchRunTest, WithDeleteOriginalIntoTheInputFolderOneCopyServesBoth) {
  TestClip clip = Clip("a.qvj", 2);
  RunWindow([&](BatchDialog &dialog) {
    TickDeleteOriginal(dialog);
    SetText(dialog, IDC_OUTPUT_FOLDER, In());
    Click(dialog, IDC_CREATE_ALL);
    EXPECT_EQ(Clips(dialog).count(), 0);
    EXPECT_FALSE(Enabled(dialog, IDC_CREATE)) << "the clip list is empty now";
    EXPECT_TRUE(Enabled(dialog, IDC_PLAY));
  });
  EXPECT_EQ(copies.titles, Texts{"Writing AVI to target location"});
  EXPECT_FALSE(fs::exists(In("a.qvj")));
  ExpectConverted(In("a.avi"), clip);
}

// The AVI beside the clip is replaced only when the person says so; after a No the clip stays.
TEST_F(BatchRunTest, TheAviBesideTheClipIsReplacedOnlyAfterTheQuestion) {
  TestClip first = Clip("a.b.qvj", 2);
  TestClip second = Clip("c.d.qvj", 3);
  WriteFileBytes(In("a.b.avi"), {7});
  WriteFileBytes(In("c.d.avi"), {7});
  copies.replaceAnswers = {false, true};
  RunWindow([&](BatchDialog &dialog) {
    TickDeleteOriginal(dialog);
    Click(dialog, IDC_CREATE_ALL);
    EXPECT_EQ(Entries(Clips(dialog)), Texts{In("a.b.qvj")});
  });
  EXPECT_EQ(copies.asked, (Texts{In("a.b.avi"), In("c.d.avi")}));
  EXPECT_EQ(messages.texts(), Texts{In("a.b.qvj") + " was kept."});
  EXPECT_TRUE(fs::exists(In("a.b.qvj")));
  EXPECT_EQ(ReadFileBytes(In("a.b.avi")), Bytes{7});
  ExpectConverted(In("c.d.avi"), second);
  ExpectConverted(Out("a.avi"), first);
  EXPECT_TRUE(TempFiles().empty());
}

TEST_F(BatchRunTest, AnOverwriteDeclinedSkipsTheClipAndGoesOn) {
  Clip("a.qvj", 2);
  TestClip b = Clip("b.qvj", 2);
  TestClip c = Clip("c.qvj", 2);
  WriteFileBytes(Out("a.avi"), {1, 2});
  WriteFileBytes(Out("b.avi"), {1, 2});
  messages.QueueAnswer(MessageAnswer::No);
  messages.QueueAnswer(MessageAnswer::Yes);
  RunWindow([&](BatchDialog &dialog) {
    Click(dialog, IDC_CREATE_ALL);
    EXPECT_EQ(Entries(Clips(dialog)), (Texts{In("a.qvj"), In("b.qvj"), In("c.qvj")}));
    EXPECT_TRUE(Selected(Clips(dialog)).empty());
    EXPECT_EQ(Entries(Avis(dialog)), (Texts{Out("a.avi"), Out("b.avi"), Out("c.avi")}));
    EXPECT_EQ(Selected(Avis(dialog)), Texts{Out("c.avi")});
  });
  ASSERT_EQ(messages.shown().size(), 2u);
  EXPECT_EQ(messages.shown()[0].text, Out("a.avi") + "\nFile exists in do you want to overwrite?");
  EXPECT_EQ(messages.shown()[0].buttons, MessageButtons::YesNo);
  EXPECT_EQ(messages.shown()[1].text, Out("b.avi") + "\nFile exists in do you want to overwrite?");
  EXPECT_EQ(ReadFileBytes(Out("a.avi")), (Bytes{1, 2}));
  ExpectConverted(Out("b.avi"), b);
  ExpectConverted(Out("c.avi"), c);
  EXPECT_TRUE(TempFiles().empty());
}

TEST_F(BatchRunTest, CancelDuringTheSecondOfThreeSkipsOnlyThatClip) {
  TestClip a = Clip("a.qvj", 2);
  Clip("b.qvj", 8);
  TestClip c = Clip("c.qvj", 2);
  RunWindow([&](BatchDialog &dialog) {
    DuringConversion(dialog, 2, [&] { Click(dialog, IDC_CANCEL_RUN); });
    Click(dialog, IDC_CREATE_ALL);
    EXPECT_EQ(Entries(Clips(dialog)).size(), 3u);
    EXPECT_TRUE(Selected(Clips(dialog)).empty());
    EXPECT_EQ(Entries(Avis(dialog)), (Texts{Out("a.avi"), Out("c.avi")}));
  });
  EXPECT_TRUE(messages.texts().empty());
  ExpectConverted(Out("a.avi"), a);
  ExpectConverted(Out("c.avi"), c);
  EXPECT_FALSE(fs::exists(Out("b.avi")));
  EXPECT_TRUE(TempFiles().empty());
}

TEST_F(BatchRunTest, AFailedConversionEndsTheRunWithTheRestStillSelected) {
  TestClip a = Clip("a.qvj", 2);
  WriteFileBytes(In("b.qvj"), Bytes(64, 'x'));
  Clip("c.qvj", 2);
  RunWindow([&](BatchDialog &dialog) {
    Click(dialog, IDC_CREATE_ALL);
    EXPECT_EQ(Selected(Clips(dialog)), (Texts{In("b.qvj"), In("c.qvj")}));
    EXPECT_EQ(Entries(Avis(dialog)), Texts{Out("a.avi")});
    EXPECT_TRUE(Enabled(dialog, IDC_CREATE));
    EXPECT_FALSE(Enabled(dialog, IDC_CANCEL_RUN));
  });
  Texts texts = messages.texts();
  ASSERT_EQ(texts.size(), 3u) << "the engine's own message first";
  EXPECT_EQ(texts[1], "Failed to create AVI!\n" + In("b.qvj") + "\n" + Out("b.avi"));
  EXPECT_EQ(texts[2],
            "Look for the pictures of this clip all the same? The clip is kept either way.");
  ExpectConverted(Out("a.avi"), a);
  EXPECT_FALSE(fs::exists(Out("c.avi")));
  EXPECT_TRUE(TempFiles().empty());
}

// Yes to the offer for a clip that lost its header salvages its pictures, and the run goes on.
TEST_F(BatchRunTest, AClipThatLostItsHeaderIsSalvagedOnYesAndTheRunGoesOn) {
  TestClip b = Clip("b.qvj", 3);
  Bytes headless = test::ReadFileBytes(In("b.qvj"));
  std::fill(headless.begin(), headless.begin() + 512, 0);
  WriteFileBytes(In("b.qvj"), headless);
  TestClip c = Clip("c.qvj", 2);
  messages.QueueAnswer(MessageAnswer::Yes);
  RunWindow([&](BatchDialog &dialog) { Click(dialog, IDC_CREATE_ALL); });
  ExpectConverted(Out("b.avi"), b);
  ExpectConverted(Out("c.avi"), c);
  EXPECT_EQ(messages.texts().back(),
            "The AVI of " + In("b.qvj") + " is a salvage, not the whole clip.");
  EXPECT_EQ(test::ReadFileBytes(In("b.qvj")), headless);
}

// Only a run of Create All over several clips that ends behind another window is told on the
// desktop.
TEST_F(BatchRunTest, ACreateAllRunThatEndsInTheBackgroundIsNotified) {
  struct Case {
    const char *what;
    int goodClips;
    bool badClip;
    bool behind;
    Texts notified;
  };
  const Case cases[] = {
      {"two, behind",
       2,
       false,
       true,
       {"The clips are converted: 2 converted, 0 incomplete, 0 failed"}},
      {"one failed, behind",
       1,
       true,
       true,
       {"The clips are converted: 1 converted, 0 incomplete, 1 failed"}},
      {"two, in front", 2, false, false, {}},
      {"one, behind", 1, false, true, {}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    for (const std::string &folder : {In(), Out()})
      for (const auto &entry : fs::directory_iterator(folder))
        fs::remove(entry.path());
    for (int i = 0; i < c.goodClips; ++i)
      Clip("good" + std::to_string(i) + ".qvj", 2);
    if (c.badClip)
      WriteFileBytes(In("later_bad.qvj"), Bytes(64, 'x'));
    notifications.clear();
    QWidget other;
    RunWindow([&](BatchDialog &dialog) {
      if (c.behind) {
        other.show();
        QApplication::setActiveWindow(&other);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
      }
      Click(dialog, IDC_CREATE_ALL);
      other.hide();
    });
    EXPECT_EQ(notifications, c.notified);
  }
}

// A path buffer holds 259 characters and the terminating zero.
TEST_F(BatchRunTest, ATargetPathOf259CharactersIsCopiedAndOneOf260IsNot) {
  TestClip clip = Clip("c.qvj", 2);
  auto outputFolderFor = [&](size_t targetLength) {
    std::string folder = root / "";
    size_t room = targetLength - std::string("/c.avi").size();
    while (folder.size() < room) {
      size_t part = std::min<size_t>(200, room - folder.size());
      folder += std::string(part, 'o');
      if (folder.size() < room)
        folder += '/';
    }
    fs::create_directories(folder);
    return folder;
  };
  std::string fits = outputFolderFor(259), tooLong = outputFolderFor(260);
  ASSERT_EQ((fits + "/c.avi").size(), 259u);
  ASSERT_EQ((tooLong + "/c.avi").size(), 260u);
  RunWindow([&](BatchDialog &dialog) {
    for (const std::string &folder : {fits, tooLong}) {
      SetText(dialog, IDC_OUTPUT_FOLDER, folder);
      Clips(dialog).item(0)->setSelected(true);
      Click(dialog, IDC_CREATE);
      EXPECT_TRUE(Selected(Clips(dialog)).empty());
    }
  });
  ExpectConverted(fits + "/c.avi", clip);
  EXPECT_FALSE(fs::exists(tooLong + "/c.avi"));
  EXPECT_EQ(messages.texts(), Texts{"Failed to copy.  Target path too long."});
  EXPECT_TRUE(TempFiles().empty());
}

TEST_F(BatchRunTest, ACopyAbortedWithoutDeleteOriginalSkipsTheClipSilently) {
  Clip("a.qvj", 2);
  TestClip b = Clip("b.qvj", 2);
  copies.abortsByTitle["Writing AVI to target location"] = 1;
  RunWindow([&](BatchDialog &dialog) {
    Click(dialog, IDC_CREATE_ALL);
    EXPECT_EQ(Entries(Clips(dialog)).size(), 2u);
    EXPECT_TRUE(Selected(Clips(dialog)).empty());
    EXPECT_EQ(Entries(Avis(dialog)), Texts{Out("b.avi")});
  });
  EXPECT_TRUE(messages.texts().empty());
  EXPECT_FALSE(fs::exists(Out("a.avi")));
  ExpectConverted(Out("b.avi"), b);
  EXPECT_TRUE(TempFiles().empty());
}

// With Delete Original an aborted copy keeps the clip, and the temporary AVI that the message
// names; no later pass of the run writes into it.
TEST_F(BatchRunTest, ACopyAbortedWithDeleteOriginalKeepsTheClipAndTheTemporaryAvi) {
  TestClip a = Clip("a.qvj", 3);
  TestClip b = Clip("b.qvj", 2);
  copies.abortsByTitle["Writing AVI to target location"] = 1;
  RunWindow([&](BatchDialog &dialog) {
    TickDeleteOriginal(dialog);
    Click(dialog, IDC_CREATE_ALL);
    EXPECT_EQ(Entries(Clips(dialog)), Texts{In("a.qvj")});
    EXPECT_EQ(Entries(Avis(dialog)), Texts{Out("b.avi")});
  });
  Texts temps = TempFiles();
  ASSERT_EQ(temps.size(), 1u);
  std::string kept = root / ("tmp/" + temps[0]);
  EXPECT_EQ(messages.texts(), Texts{"Cancelled file copy.\nTemp stored in " + kept + "\n" +
                                    In("a.qvj") + " was kept."});
  EXPECT_TRUE(kept.ends_with(".avi"));
  ExpectConverted(kept, a);
  EXPECT_TRUE(fs::exists(In("a.qvj")));
  EXPECT_FALSE(fs::exists(In("a.avi")));
  ExpectConverted(Out("b.avi"), b);
  EXPECT_EQ(ReadFileBytes(In("b.avi")), ReadFileBytes(Out("b.avi")));
  EXPECT_FALSE(fs::exists(Out("a.avi")));
}

TEST_F(BatchRunTest, ACopyThatFailsKeepsTheTemporaryAviAndTheRunGoesOn) {
  TestClip a = Clip("a.qvj", 2);
  TestClip b = Clip("b.qvj", 3);
  WriteFileBytes(root / "file", {1});
  RunWindow([&](BatchDialog &dialog) {
    SetText(dialog, IDC_OUTPUT_FOLDER, root / "file/out");
    Click(dialog, IDC_CREATE_ALL);
    EXPECT_TRUE(Selected(Clips(dialog)).empty());
    EXPECT_EQ(Avis(dialog).count(), 0);
  });
  Texts temps = TempFiles();
  ASSERT_EQ(temps.size(), 2u) << "one kept temporary AVI per failed copy";
  Texts expected;
  for (const std::string &name : temps)
    expected.push_back("Failed to copy file.\nTemp stored in " + (root / ("tmp/" + name)) + "\n" +
                       (root / "file/out") + " contains an invalid path.");
  Texts texts = messages.texts();
  std::sort(texts.begin(), texts.end());
  EXPECT_EQ(texts, expected);
  auto keptIn = [](const std::string &text) {
    size_t from = text.find(" in ") + 4;
    return text.substr(from, text.find('\n', from) - from);
  };
  std::string first = keptIn(messages.texts()[0]);
  std::string second = keptIn(messages.texts()[1]);
  ExpectConverted(first, a);
  ExpectConverted(second, b);
}

// A temporary folder or an output card that is full or write-protected: the box names the cause
// after its summary, never a picture, and the clip stays.
TEST_F(BatchRunTest, AFullOrWriteProtectedPlaceIsNamedAsTheCause) {
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
  TestClip clip = Clip("a.qvj", 30); // before the mounts: the pictures are made in the temp folder
  Bytes before = ReadFileBytes(In("a.qvj"));
  for (const Case &c : cases) {
    SCOPED_TRACE(int(c.place));
    std::string full = c.place == Place::FullTemporaryFolder ? root / "tmp" : Out();
    ScopedMount small(ScopedMount::Kind::Tmpfs, full, 8 * 1024);
    if (!small.ok()) {
      GTEST_SKIP() << "cannot mount a tmpfs here";
    }
    if (c.place == Place::WriteProtectedCard) {
      ASSERT_TRUE(small.MakeReadOnly());
    }
    messages = ScriptedMessages();
    RunWindow([&](BatchDialog &dialog) {
      SetText(dialog, IDC_OUTPUT_FOLDER, Out());
      Click(dialog, IDC_CREATE_ALL);
    });
    Texts shown = messages.texts();
    auto told = std::find_if(shown.begin(), shown.end(),
                             [&](const std::string &text) { return text.starts_with(c.summary); });
    ASSERT_NE(told, shown.end()) << ::testing::PrintToString(shown);
    EXPECT_NE(told->find(c.cause), std::string::npos) << *told;
    for (const std::string &text : shown)
      EXPECT_EQ(text.find("JPEG"), std::string::npos) << text;
    EXPECT_EQ(ReadFileBytes(In("a.qvj")), before);
    if (c.place == Place::FullTemporaryFolder) {
      EXPECT_TRUE(TempFiles().empty());
    } else {
      ASSERT_EQ(TempFiles().size(), 1u);
      ExpectConverted(root / ("tmp/" + TempFiles()[0]), clip);
      fs::remove(root / ("tmp/" + TempFiles()[0]));
    }
  }
}

// The box ticked while a copy runs (the fields read by a handler inside the copy window) counts
// from the next clip on: the clip in hand was not deleted, so its aborted copy stays a skip.
TEST_F(BatchRunTest, DeleteOriginalTickedDuringACopyCountsFromTheNextClip) {
  Clip("a.qvj", 2);
  TestClip b = Clip("b.qvj", 2);
  copies.abortsByTitle["Writing AVI to target location"] = 1;
  RunWindow([&](BatchDialog &dialog) {
    dialog.Control(IDC_OUTPUT_FOLDER)->setFocus(Qt::MouseFocusReason);
    copies.onBegin = [&](const std::string &) {
      if (!dialog.As<QCheckBox>(IDC_DELETE_ORIGINAL)->isChecked()) {
        TickDeleteOriginal(dialog);
        dialog.Control(IDC_AVI_LIST)->setFocus(Qt::MouseFocusReason);
      }
    };
    Click(dialog, IDC_CREATE_ALL);
    EXPECT_EQ(Entries(Clips(dialog)), Texts{In("a.qvj")});
  });
  EXPECT_TRUE(messages.texts().empty());
  EXPECT_TRUE(fs::exists(In("a.qvj")));
  EXPECT_FALSE(fs::exists(In("a.avi")));
  EXPECT_FALSE(fs::exists(In("b.qvj")));
  ExpectConverted(Out("b.avi"), b);
  EXPECT_EQ(ReadFileBytes(In("b.avi")), ReadFileBytes(Out("b.avi")));
  EXPECT_TRUE(TempFiles().empty());
}

// A refill of the clip list during a run clears its selection: the run ends after the clip in
// hand, and with Delete Original that clip's entry leaves the refilled list.
TEST_F(BatchRunTest, ARefillDuringTheRunEndsItAfterTheClipInHand) {
  Clip("a.qvj", 2);
  TestClip b = Clip("b.qvj", 6);
  Clip("c.qvj", 2);
  RunWindow([&](BatchDialog &dialog) {
    TickDeleteOriginal(dialog);
    DuringConversion(dialog, 2, [&] {
      LeaveField(dialog, IDC_INPUT_FOLDER);
      EXPECT_EQ(Clips(dialog).count(), 2);
    });
    Click(dialog, IDC_CREATE_ALL);
    EXPECT_EQ(Entries(Clips(dialog)), Texts{In("c.qvj")});
    EXPECT_TRUE(Selected(Clips(dialog)).empty());
  });
  EXPECT_TRUE(messages.texts().empty());
  ExpectConverted(Out("b.avi"), b);
  EXPECT_TRUE(fs::exists(In("c.qvj")));
  EXPECT_FALSE(fs::exists(Out("c.avi")));
  EXPECT_TRUE(TempFiles().empty());
}

// The clip list stays live during a run, but a double-click on it starts no second run.
TEST_F(BatchRunTest, ADoubleClickOnAClipDuringARunStartsNoOtherRun) {
  Clip("a.qvj", 6);
  Clip("b.qvj", 2);
  RunWindow([&](BatchDialog &dialog) {
    DuringConversion(dialog, 1, [&] {
      QListWidget &clips = Clips(dialog);
      Q_EMIT clips.itemDoubleClicked(clips.item(1));
    });
    Clips(dialog).item(0)->setSelected(true);
    Click(dialog, IDC_CREATE);
    Clips(dialog).item(1)->setSelected(true);
    QListWidget &clips = Clips(dialog);
    Q_EMIT clips.itemDoubleClicked(clips.item(1));
  });
  EXPECT_EQ(copies.titles, Texts(2, "Writing AVI to target location"));
  EXPECT_TRUE(fs::exists(Out("b.avi")));
}

// A refill during a run enables Create and Create All again, but clicking them then starts no
// second run: the run in hand takes the new selection, and its Cancel stays live.
TEST_F(BatchRunTest, CreateEnabledByARefillDuringARunStartsNoOtherRun) {
  for (int command : {IDC_CREATE, IDC_CREATE_ALL}) {
    SCOPED_TRACE(command);
    fs::remove(Out("a.avi"));
    fs::remove(Out("b.avi"));
    Clip("a.qvj", 6);
    Clip("b.qvj", 2);
    copies.titles.clear();
    bool createLive = false, cancelLive = false;
    RunWindow([&](BatchDialog &dialog) {
      DuringConversion(dialog, 1, [&] {
        LeaveField(dialog, IDC_INPUT_FOLDER);
        Clips(dialog).item(1)->setSelected(true);
        createLive = Enabled(dialog, command);
        Click(dialog, command);
        cancelLive = Enabled(dialog, IDC_CANCEL_RUN);
      });
      Clips(dialog).item(0)->setSelected(true);
      Click(dialog, IDC_CREATE);
      EXPECT_TRUE(Selected(Clips(dialog)).empty());
    });
    EXPECT_TRUE(createLive);
    EXPECT_TRUE(cancelLive);
    EXPECT_TRUE(fs::exists(Out("a.avi")));
    EXPECT_TRUE(fs::exists(Out("b.avi")));
    EXPECT_EQ(copies.titles.size(), 2u);
    EXPECT_TRUE(TempFiles().empty());
  }
}

// The program's entry: the copies go through the Qt progress window, whose replace question
// comes as a message box.
TEST_F(BatchRunTest, TheProgramsEntryCopiesThroughTheProgressWindow) {
  TestClip clip = Clip("a.b.qvj", 2);
  WriteFileBytes(In("a.b.avi"), {7});
  messages.QueueAnswer(MessageAnswer::Yes);
  int result = 0;
  WhenModalAppears([&](QWidget *window) {
    auto *dialog = dynamic_cast<BatchDialog *>(window);
    ASSERT_TRUE(dialog);
    TickDeleteOriginal(*dialog);
    Click(*dialog, IDC_CREATE_ALL);
    Click(*dialog, IDC_EXIT);
  });
  result = RunBatchWindow(messages, shell);
  EXPECT_EQ(result, 1);
  EXPECT_EQ(messages.texts(), Texts{ReplaceQuestion(In("a.b.avi"))});
  ExpectConverted(Out("a.avi"), clip);
  EXPECT_EQ(ReadFileBytes(In("a.b.avi")), ReadFileBytes(Out("a.avi")));
  EXPECT_TRUE(TempFiles().empty());
}

} // namespace
} // namespace reelcraft::test
