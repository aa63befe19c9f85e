// SPDX-License-Identifier: MIT
#include "gui/resources/dialog_templates.h"
#include "ui/qt_events.h"
#include "ui/qt_template_dialog.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace reelcraft {
namespace {

constexpr int kStartMessage = 0x800A;
constexpr int kDeclineMessage = 0x8014;

// A dialog whose hooks a test fills in, recording what reached it.
class ProbeDialog : public TemplateDialog {
public:
  explicit ProbeDialog(const DialogTemplate &t) : TemplateDialog(t) {}
  using TemplateDialog::Bind;

  std::string folder;
  int ticked = 0;
  bool okDoesNothing = false;
  std::function<bool()> init;
  std::vector<std::string> events;

protected:
  void DoDataExchange(DataExchange &dx) override {
    if (Control(IDC_INPUT_FOLDER))
      dx.Text(IDC_INPUT_FOLDER, folder);
    if (Control(IDC_DELETE_ORIGINAL))
      dx.Check(IDC_DELETE_ORIGINAL, ticked);
    if (Control(IDC_NEVER_ASK))
      dx.Check(IDC_NEVER_ASK, ticked);
    events.push_back(dx.saving() ? "save" : "load");
  }
  bool OnInitDialog() override { return init ? init() : true; }
  void OnOK() override {
    events.push_back("ok");
    if (!okDoesNothing)
      TemplateDialog::OnOK();
  }
  void OnDestroy() override { events.push_back("destroy"); }
  void OnShowWindow(bool shown) override { events.push_back(shown ? "shown" : "hidden"); }
};

// Runs `act` once the dialog's modal run is live.
void Later(std::function<void()> act) { QTimer::singleShot(0, act); }

TEST(TemplateDialog, OkReadsTheControlsAndEndsWithOne) {
  ProbeDialog dialog(RegisterPromptTemplate());
  Later([&] {
    EXPECT_EQ(dialog.events, (std::vector<std::string>{"load", "shown"}));
    dialog.As<QCheckBox>(IDC_NEVER_ASK)->setChecked(true);
    dialog.As<QPushButton>(IDOK)->click();
  });
  EXPECT_EQ(dialog.DoModal(), 1);
  EXPECT_EQ(dialog.ticked, 1);
  EXPECT_EQ(dialog.events,
            (std::vector<std::string>{"load", "shown", "ok", "save", "hidden", "destroy"}));
}

TEST(TemplateDialog, CancelButtonEscapeAndCloseBoxEndWithTwoWithoutReading) {
  for (int way = 0; way < 3; ++way) {
    ProbeDialog dialog(RegisterPromptTemplate());
    Later([&] {
      dialog.As<QCheckBox>(IDC_NEVER_ASK)->setChecked(true);
      if (way == 0)
        dialog.As<QPushButton>(IDCANCEL)->click();
      else if (way == 1)
        QTest::keyClick(&dialog, Qt::Key_Escape);
      else
        dialog.close();
    });
    EXPECT_EQ(dialog.DoModal(), 2) << way;
    EXPECT_EQ(dialog.ticked, 0) << way;
    EXPECT_EQ(dialog.events.back(), "destroy");
  }
}

TEST(TemplateDialog, EnterGivesTheFocusedOrDefaultButtonOrElseTheOkCommand) {
  ProbeDialog prompt(RegisterPromptTemplate());
  Later([&] { QTest::keyClick(&prompt, Qt::Key_Return); });
  EXPECT_EQ(prompt.DoModal(), 1);

  // A push button with the focus takes Enter from the default button.
  ProbeDialog focusedNo(RegisterPromptTemplate());
  Later([&] {
    focusedNo.Control(IDCANCEL)->setFocus();
    QTest::keyClick(focusedNo.Control(IDCANCEL), Qt::Key_Return);
  });
  EXPECT_EQ(focusedNo.DoModal(), 2);

  // Template 132 has no default button and no button 1: Enter is still the OK command.
  ProbeDialog progress(ConvertProgressTemplate());
  progress.init = [&] {
    progress.Control(IDC_PROGRESS)->setFocus();
    return false;
  };
  Later([&] { QTest::keyClick(&progress, Qt::Key_Enter, Qt::KeypadModifier); });
  EXPECT_EQ(progress.DoModal(), 1);
}

TEST(TemplateDialog, AnOkCommandThatDoesNothingKeepsTheDialogOpen) {
  ProbeDialog dialog(RegisterPromptTemplate());
  dialog.okDoesNothing = true;
  bool stillOpen = false;
  Later([&] {
    dialog.As<QPushButton>(IDOK)->click();
    QTimer::singleShot(0, [&] {
      stillOpen = dialog.isVisible();
      dialog.EndDialog(7);
    });
  });
  EXPECT_EQ(dialog.DoModal(), 7);
  EXPECT_TRUE(stillOpen);
}

TEST(TemplateDialog, BoundHandlersReceiveClicksListsTextAndPostedMessages) {
  ProbeDialog dialog(BatchTemplate());
  std::vector<std::string> seen;
  dialog.Bind({
      {IDC_EXIT, Notification::Clicked, [&] { seen.push_back("exit"); }},
      {IDC_DELETE_ORIGINAL, Notification::Clicked, [&] { seen.push_back("tick"); }},
      {IDC_CLIP_LIST, Notification::SelectionChanged, [&] { seen.push_back("select"); }},
      {IDC_AVI_LIST, Notification::DoubleClicked, [&] { seen.push_back("double"); }},
      {IDC_OUTPUT_FOLDER, Notification::TextChanged, [&] { seen.push_back("text"); }},
      {kStartMessage, Notification::PostedMessage, [&] { seen.push_back("start"); }},
      {kDeclineMessage, Notification::PostedMessage,
       [&] {
         seen.push_back("decline");
         dialog.EndDialog(2);
       }},
  });
  auto actions = [&] {
    EXPECT_EQ(seen, std::vector<std::string>{"start"}); // delivered by the modal run
    dialog.As<QPushButton>(IDC_EXIT)->click();
    dialog.As<QCheckBox>(IDC_DELETE_ORIGINAL)->click();
    auto *clips = dialog.As<QListWidget>(IDC_CLIP_LIST);
    clips->addItems({"a.qvj", "b.qvj"});
    clips->setCurrentRow(1);
    auto *avis = dialog.As<QListWidget>(IDC_AVI_LIST);
    avis->addItem("a.avi");
    // A real double click arrives as a press and release, then the double-click event.
    QPoint item = avis->visualItemRect(avis->item(0)).center();
    QTest::mouseClick(avis->viewport(), Qt::LeftButton, {}, item);
    QTest::mouseDClick(avis->viewport(), Qt::LeftButton, {}, item);
    dialog.As<QLineEdit>(IDC_OUTPUT_FOLDER)->setText("/tmp");
    PostMessageTo(dialog, kDeclineMessage);
  };
  // Queued behind the posted message, so the modal run delivers that first.
  dialog.init = [&] {
    PostMessageTo(dialog, kStartMessage);
    Later(actions);
    return true;
  };
  EXPECT_EQ(dialog.DoModal(), 2);
  EXPECT_EQ(seen, (std::vector<std::string>{"start", "exit", "tick", "select", "double", "text",
                                            "decline"}));
  EXPECT_EQ(dialog.ticked, 0); // nothing read the controls back
}

TEST(TemplateDialog, LoadingFillsTheControlsAndSavingReadsThemBackAsLocalBytes) {
  ProbeDialog dialog(BatchTemplate());
  dialog.folder = "/home/r\xc3\xa9mi/clips";
  dialog.ticked = 1;
  dialog.UpdateData(false);
  EXPECT_EQ(dialog.As<QLineEdit>(IDC_INPUT_FOLDER)->text(), QString::fromUtf8("/home/rémi/clips"));
  EXPECT_TRUE(dialog.As<QCheckBox>(IDC_DELETE_ORIGINAL)->isChecked());
  dialog.As<QLineEdit>(IDC_INPUT_FOLDER)->setText(QString::fromUtf8("/srv/ünïcode"));
  dialog.As<QCheckBox>(IDC_DELETE_ORIGINAL)->setChecked(false);
  dialog.UpdateData(true);
  EXPECT_EQ(dialog.folder, "/srv/\xc3\xbc"
                           "n\xc3\xaf"
                           "code");
  EXPECT_EQ(dialog.ticked, 0);
}

TEST(TemplateDialog, FocusStartsOnTheFirstTabStopAndItsLossIsReported) {
  ProbeDialog dialog(BatchTemplate());
  std::vector<std::string> seen;
  dialog.Bind({{IDC_INPUT_FOLDER, Notification::KillFocus, [&] { seen.push_back("input"); }}});
  Later([&] {
    EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
    EXPECT_EQ(QApplication::focusWidget(), dialog.Control(IDC_INPUT_FOLDER));
    dialog.Control(IDC_OUTPUT_FOLDER)->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(seen, std::vector<std::string>{"input"});
    dialog.Control(IDC_INPUT_FOLDER)->setFocus(Qt::TabFocusReason);
    dialog.Control(IDC_CREATE_ALL)->setEnabled(true);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), dialog.Control(IDC_BROWSE_INPUT));
    dialog.EndDialog(1);
  });
  EXPECT_EQ(dialog.DoModal(), 1);
  EXPECT_EQ(seen, (std::vector<std::string>{"input", "input"}));
}

TEST(TemplateDialog, ADialogBeingDestroyedRunsNoHandler) {
  int calls = 0;
  {
    auto *dialog = new ProbeDialog(BatchTemplate());
    dialog->Bind({{IDC_INPUT_FOLDER, Notification::KillFocus, [&] { ++calls; }},
                  {IDC_CLIP_LIST, Notification::SelectionChanged, [&] { ++calls; }}});
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
    dialog->Control(IDC_INPUT_FOLDER)->setFocus();
    dialog->As<QListWidget>(IDC_CLIP_LIST)->addItem("a.qvj");
    dialog->As<QListWidget>(IDC_CLIP_LIST)->setCurrentRow(0);
    calls = 0;
    delete dialog;
  }
  EXPECT_EQ(calls, 0);
}

} // namespace
} // namespace reelcraft
