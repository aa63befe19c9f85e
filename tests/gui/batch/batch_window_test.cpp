// SPDX-License-Identifier: MIT
#include "tests/gui/batch/batch_test_fixture.h"

#include "gui/resources/dialog_templates.h"
#include "tests/support/files.h"
#include "tests/ui/modal_driver.h"
#include "ui/list_box.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <filesystem>
#include <optional>

namespace reelcraft::test {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

// How far the list scrolls sideways: every row is as wide as the widest entry needs.
int RowWidth(QListWidget &list) {
  int widest = 0;
  for (int i = 0; i < list.count(); ++i)
    widest = std::max(widest, list.item(i)->sizeHint().width());
  return widest;
}

TEST_F(BatchWindowTest, OpensOnTheCurrentDirectoryAndTheDocumentsFolder) {
  REELCRAFT_NEEDS_PICTURE_TOOLS();
  Clip("b.qvj", 1);
  Clip("A.QVJ", 1);
  fs::create_directory(In("old.qvj"));
  WriteFileBytes(In("notes.txt"), {1});
  WriteFileBytes(Out("x.avi"), {1});

  int result = RunWindow([&](BatchDialog &dialog) {
    EXPECT_EQ(dialog.windowTitle().toStdString(), "Reelcraft 1-05");
    EXPECT_FALSE(dialog.windowIcon().isNull());
    EXPECT_EQ(QApplication::focusWidget(), dialog.Control(IDC_INPUT_FOLDER));
    EXPECT_EQ(dialog.As<QLineEdit>(IDC_INPUT_FOLDER)->text().toStdString(), In());
    EXPECT_EQ(dialog.As<QLineEdit>(IDC_OUTPUT_FOLDER)->text().toStdString(), Out());
    EXPECT_EQ(Entries(Clips(dialog)), (Texts{In("A.QVJ"), In("b.qvj"), In("old.qvj")}));
    EXPECT_EQ(Entries(Avis(dialog)), Texts{Out("x.avi")});
    EXPECT_TRUE(Enabled(dialog, IDC_CREATE));
    EXPECT_TRUE(Enabled(dialog, IDC_CREATE_ALL));
    EXPECT_TRUE(Enabled(dialog, IDC_PLAY));
    EXPECT_FALSE(Enabled(dialog, IDC_CANCEL_RUN));

    // The tab order of the template; Cancel and the progress bar are no tab stops.
    std::vector<int> order;
    QWidget *widget = dialog.Control(IDC_INPUT_FOLDER);
    for (int i = 0; i < 11; ++i, widget = widget->nextInFocusChain()) {
      while (widget->focusPolicy() != Qt::StrongFocus)
        widget = widget->nextInFocusChain();
      order.push_back(widget->property("controlId").toInt());
    }
    EXPECT_EQ(order,
              (std::vector<int>{1020, 1021, 1022, 1023, 1024, 1010, 1004, 1011, 1012, 1013, 1025}));
    Click(dialog, IDC_EXIT);
  });
  EXPECT_EQ(result, 1);
  EXPECT_TRUE(messages.texts().empty());
}

TEST_F(BatchWindowTest, AnEmptyFolderWindowOpensWithItsCommandsDisabled) {
  RunWindow([&](BatchDialog &dialog) {
    EXPECT_EQ(Clips(dialog).count(), 0);
    EXPECT_EQ(Avis(dialog).count(), 0);
    for (int id : {IDC_CREATE, IDC_CREATE_ALL, IDC_PLAY, IDC_CANCEL_RUN})
      EXPECT_FALSE(Enabled(dialog, id)) << id;
    EXPECT_EQ(RowWidth(Clips(dialog)), 0);
  });
}

TEST_F(BatchWindowTest, EachDefaultFolderThatCannotBeHadIsReportedAndLeftEmpty) {
  {
    ScopedEnvironment noHome("HOME", "");
    RunWindow([](BatchDialog &) {});
  }
  // A documents folder longer than a path buffer holds.
  std::string deep = root / std::string(250, 'd');
  WriteFileBytes(root / "config/user-dirs.dirs", [&] {
    std::string line = "XDG_DOCUMENTS_DIR=\"" + deep + "\"\n";
    return Bytes(line.begin(), line.end());
  }());
  fs::create_directory(root / "gone");
  ScopedCurrentDirectory gone(root / "gone");
  fs::remove(root / "gone");
  RunWindow([&](BatchDialog &dialog) {
    EXPECT_EQ(dialog.As<QLineEdit>(IDC_INPUT_FOLDER)->text(), "");
    EXPECT_EQ(dialog.As<QLineEdit>(IDC_OUTPUT_FOLDER)->text(), "");
    EXPECT_EQ(dialog.windowTitle().toStdString(), "Reelcraft 1-05");
  });
  EXPECT_EQ(messages.texts(), (Texts{"Failed to get default output directory", "Failed to get path",
                                     "Failed to get default input directory"}));
}

TEST_F(BatchWindowTest, LeavingAFolderFieldRefillsItsListEveryTime) {
  REELCRAFT_NEEDS_PICTURE_TOOLS();
  Clip("a.qvj", 1);
  Clip("b.qvj", 1);
  fs::create_directory(root / "other");
  Clip("../other/c.QVJ", 1);

  RunWindow([&](BatchDialog &dialog) {
    QListWidget &clips = Clips(dialog);
    clips.item(0)->setSelected(true);
    clips.item(1)->setSelected(true);
    // The window losing its activation to another one and getting it back is no focus loss.
    ASSERT_EQ(QApplication::focusWidget(), dialog.Control(IDC_INPUT_FOLDER));
    QWidget other;
    other.show();
    other.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&other));
    other.close();
    dialog.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
    QFocusEvent deactivated(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(dialog.Control(IDC_INPUT_FOLDER), &deactivated);
    EXPECT_EQ(QApplication::focusWidget(), dialog.Control(IDC_INPUT_FOLDER));
    EXPECT_EQ(Selected(clips), (Texts{In("a.qvj"), In("b.qvj")})) << "not refilled";

    LeaveField(dialog, IDC_INPUT_FOLDER);
    EXPECT_EQ(Entries(clips), (Texts{In("a.qvj"), In("b.qvj")}));
    EXPECT_TRUE(Selected(clips).empty()) << "unchanged text, list refilled all the same";

    SetText(dialog, IDC_INPUT_FOLDER, In() + "/");
    LeaveField(dialog, IDC_INPUT_FOLDER);
    EXPECT_EQ(Entries(clips), (Texts{In() + "/a.qvj", In() + "/b.qvj"}));

    SetText(dialog, IDC_INPUT_FOLDER, "../other");
    LeaveField(dialog, IDC_INPUT_FOLDER);
    EXPECT_EQ(Entries(clips), Texts{"../other/c.QVJ"});

    // Typing an output folder lists its AVI files when the field is left, not before.
    WriteFileBytes(root / "other/v.AVI", {1});
    SetText(dialog, IDC_OUTPUT_FOLDER, root / "other");
    EXPECT_FALSE(Enabled(dialog, IDC_PLAY));
    LeaveField(dialog, IDC_OUTPUT_FOLDER);
    EXPECT_EQ(Entries(Avis(dialog)), Texts{root / "other/v.AVI"});
    EXPECT_TRUE(Enabled(dialog, IDC_PLAY));
    EXPECT_EQ(Entries(clips), Texts{"../other/c.QVJ"}) << "only the field's own list";
  });
  EXPECT_TRUE(messages.texts().empty());
}

// A fill that finds nothing disables nothing; a Create over the empty selection then reserves
// and removes its temporary file, converts nothing, and leaves Create disabled.
TEST_F(BatchWindowTest, CommandsStayEnabledAfterAnEmptyFillUntilARunEnds) {
  REELCRAFT_NEEDS_PICTURE_TOOLS();
  Clip("a.qvj", 1);
  WriteFileBytes(Out("a.avi"), {1});
  fs::create_directory(root / "empty");
  RunWindow([&](BatchDialog &dialog) {
    SetText(dialog, IDC_INPUT_FOLDER, root / "empty");
    LeaveField(dialog, IDC_INPUT_FOLDER);
    SetText(dialog, IDC_OUTPUT_FOLDER, root / "empty");
    LeaveField(dialog, IDC_OUTPUT_FOLDER);
    EXPECT_EQ(Clips(dialog).count(), 0);
    EXPECT_EQ(Avis(dialog).count(), 0);
    EXPECT_TRUE(Enabled(dialog, IDC_CREATE));
    EXPECT_TRUE(Enabled(dialog, IDC_CREATE_ALL));
    EXPECT_TRUE(Enabled(dialog, IDC_PLAY));

    Click(dialog, IDC_PLAY); // nothing selected: nothing happens
    Click(dialog, IDC_CREATE);
    for (int id : {IDC_CREATE, IDC_CREATE_ALL, IDC_PLAY, IDC_CANCEL_RUN})
      EXPECT_FALSE(Enabled(dialog, id)) << id;
  });
  EXPECT_TRUE(messages.texts().empty());
  EXPECT_TRUE(launched.empty());
  EXPECT_TRUE(TempFiles().empty());
}

TEST_F(BatchWindowTest, TheHorizontalExtentIsTheWidestEntryPlusOneAverageCharacter) {
  REELCRAFT_NEEDS_PICTURE_TOOLS();
  Clip("short.qvj", 1);
  Clip("a-much-longer-name-than-the-other-one.qvj", 1);
  RunWindow([&](BatchDialog &dialog) {
    ListBox clips(Clips(dialog));
    int expected =
        clips.TextWidth(In("a-much-longer-name-than-the-other-one.qvj")) + clips.AverageCharWidth();
    EXPECT_EQ(RowWidth(Clips(dialog)), expected);
    EXPECT_GT(expected, clips.TextWidth(In("short.qvj")));
    EXPECT_EQ(RowWidth(Avis(dialog)), 0);
  });
}

TEST_F(BatchWindowTest, PlayOpensTheSelectedAviWithItsProgram) {
  WriteFileBytes(Out("a.avi"), {1});
  WriteFileBytes(Out("b.avi"), {1});
  RunWindow([&](BatchDialog &dialog) {
    QListWidget &avis = Avis(dialog);
    Click(dialog, IDC_PLAY);
    EXPECT_TRUE(launched.empty()) << "no AVI selected";

    avis.setCurrentRow(1);
    Click(dialog, IDC_PLAY);
    QPoint first = avis.visualItemRect(avis.item(0)).center();
    QTest::mouseClick(avis.viewport(), Qt::LeftButton, {}, first);
    QTest::mouseDClick(avis.viewport(), Qt::LeftButton, {}, first);
    launchWorks = false;
    Click(dialog, IDC_PLAY);
    hasPlayer = false; // nothing is started then, and the box says why
    Click(dialog, IDC_PLAY);
  });
  EXPECT_EQ(launched, (std::vector<Texts>{{"xdg-open", Out("b.avi")},
                                          {"xdg-open", Out("a.avi")},
                                          {"xdg-open", Out("a.avi")}}));
  EXPECT_EQ(messages.texts(),
            (Texts{"Could not play media file.",
                   "Could not play media file.\nNo program is set up to play AVI files."}));
}

TEST_F(BatchWindowTest, EnterGivesExitWithOneAndTheCancelCommandTwo) {
  EXPECT_EQ(RunWindow([&](BatchDialog &dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); }), 2);
  EXPECT_EQ(RunWindow([&](BatchDialog &dialog) {
              QTest::keyClick(dialog.Control(IDC_INPUT_FOLDER), Qt::Key_Return);
            }),
            1)
      << "Enter gives the default button, Exit";
}

// The picker's parts, found as a person would find them: what it shows, and its box and OK.
struct OpenPicker {
  OpenPicker() = default;
  explicit OpenPicker(QWidget *window)
      : title(window->windowTitle().toStdString()),
        prompt(window->findChild<QLabel *>()->text().toStdString()),
        box(window->findChild<QLineEdit *>()), buttons(window->findChild<QDialogButtonBox *>()) {}
  std::string title, prompt;
  QLineEdit *box = nullptr;
  QDialogButtonBox *buttons = nullptr;
};

// Clicks a browse button; in the picker that opens, types `folder` and presses OK, or presses
// Cancel when `folder` is empty. Gives what the picker showed.
OpenPicker Browse(BatchDialog &dialog, int button, const std::string &folder) {
  std::optional<OpenPicker> seen;
  WhenModalAppears(
      [&](QWidget *window) {
        seen.emplace(window);
        if (!folder.empty())
          seen->box->setText(QString::fromStdString(folder));
        seen->buttons->button(folder.empty() ? QDialogButtonBox::Cancel : QDialogButtonBox::Ok)
            ->click();
      },
      &dialog);
  dialog.As<QPushButton>(button)->click();
  EXPECT_TRUE(seen.has_value());
  return seen.value_or(OpenPicker{});
}

TEST_F(BatchWindowTest, BrowsingReplacesAFolderOnlyWhenOneIsAccepted) {
  REELCRAFT_NEEDS_PICTURE_TOOLS();
  Clip("a.qvj", 1);
  fs::create_directory(root / "picked");
  Clip("../picked/p.qvj", 1);
  WriteFileBytes(root / "picked/p.avi", {1});
  std::vector<OpenPicker> seen;
  RunWindow([&](BatchDialog &dialog) {
    Clips(dialog).setFocus(Qt::MouseFocusReason);
    Clips(dialog).item(0)->setSelected(true);
    seen.push_back(Browse(dialog, IDC_BROWSE_INPUT, ""));
    EXPECT_EQ(dialog.As<QLineEdit>(IDC_INPUT_FOLDER)->text().toStdString(), In());
    EXPECT_EQ(Selected(Clips(dialog)), Texts{In("a.qvj")}) << "dismissed: nothing changed";

    seen.push_back(Browse(dialog, IDC_BROWSE_INPUT, root / "picked"));
    EXPECT_EQ(dialog.As<QLineEdit>(IDC_INPUT_FOLDER)->text().toStdString(), root / "picked");
    EXPECT_EQ(Entries(Clips(dialog)), Texts{root / "picked/p.qvj"});
    EXPECT_EQ(Entries(Avis(dialog)).size(), 0u) << "only the browsed folder's list";

    seen.push_back(Browse(dialog, IDC_BROWSE_OUTPUT, root / "picked"));
    EXPECT_EQ(Entries(Avis(dialog)), Texts{root / "picked/p.avi"});
    EXPECT_TRUE(Enabled(dialog, IDC_PLAY));
  });
  ASSERT_EQ(seen.size(), 3u);
  for (const OpenPicker &picker : seen)
    EXPECT_EQ(picker.title, "Reelcraft 1-05");
  EXPECT_EQ(seen[0].prompt, "Select folder to find QVJ files");
  EXPECT_EQ(seen[2].prompt, "Select folder in which to save AVIs");
  EXPECT_TRUE(messages.texts().empty());
}

} // namespace
} // namespace reelcraft::test
