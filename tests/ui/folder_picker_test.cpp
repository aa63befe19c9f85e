// SPDX-License-Identifier: MIT
#include "ui/folder_picker.h"

#include "tests/support/scripted_messages.h"
#include "tests/support/temp_dir.h"
#include "tests/ui/modal_driver.h"
#include "ui/qt_messages.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

#include <filesystem>

namespace reelcraft {
namespace {

namespace fs = std::filesystem;
using test::WhenModalAppears;

// The parts of an open picker, found as a person would find them.
struct Picker {
  explicit Picker(QWidget *window)
      : window(window), box(window->findChild<QLineEdit *>()),
        tree(window->findChild<QTreeView *>()),
        ok(window->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)),
        cancel(window->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Cancel)) {}

  std::string Selected() const {
    auto *model = static_cast<QFileSystemModel *>(tree->model());
    return model->filePath(tree->currentIndex()).toStdString();
  }
  void Type(const std::string &text) const {
    box->clear();
    QTest::keyClicks(box, QString::fromStdString(text));
  }

  QWidget *window;
  QLineEdit *box;
  QTreeView *tree;
  QPushButton *ok;
  QPushButton *cancel;
};

constexpr const char *kPrompt = "Select folder in which to save AVI";

TEST(FolderPicker, ShowsCaptionPromptAndTheBoxAboveATreeWithTheInitialFolderSelected) {
  test::TempDir dir;
  fs::create_directories(dir / "clips/new");
  ScriptedMessages messages;
  FolderPicker picker("Reelcraft 1-05", kPrompt, dir / "clips/new", nullptr, messages);
  WhenModalAppears([&](QWidget *window) {
    Picker p(window);
    EXPECT_EQ(window->windowTitle(), "Reelcraft 1-05");
    auto *prompt = window->findChild<QLabel *>();
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(prompt->text(), kPrompt);
    EXPECT_LE(prompt->geometry().bottom(), p.box->geometry().top());
    EXPECT_LE(p.box->geometry().bottom(), p.tree->geometry().top());
    EXPECT_EQ(p.box->text().toStdString(), dir / "clips/new");
    EXPECT_EQ(p.Selected(), dir / "clips/new");
    // The tree starts at the top of the file system.
    QModelIndex top = p.tree->model()->index(0, 0, p.tree->rootIndex());
    EXPECT_EQ(static_cast<QFileSystemModel *>(p.tree->model())->filePath(top), "/");
    EXPECT_TRUE(p.ok->isEnabled());
    p.ok->click();
  });
  EXPECT_EQ(picker.DoModal(), 1);
  EXPECT_EQ(picker.GetPath(), dir / "clips/new");
  EXPECT_TRUE(messages.shown().empty());
}

TEST(FolderPicker, WithoutTitleOrInitialFolderKeepsItsCaptionAndOpensAtTheCurrentDirectory) {
  test::TempDir dir;
  fs::path previous = fs::current_path();
  fs::current_path(dir.path());
  ScriptedMessages messages;
  FolderPicker picker(std::nullopt, kPrompt, std::nullopt, nullptr, messages);
  std::string caption, selected;
  WhenModalAppears([&](QWidget *window) {
    caption = window->windowTitle().toStdString();
    selected = Picker(window).Selected();
    Picker(window).cancel->click();
  });
  EXPECT_EQ(picker.DoModal(), -1);
  fs::current_path(previous);
  EXPECT_EQ(caption, "Browse for Folder");
  EXPECT_EQ(selected, dir.path().string());
}

TEST(FolderPicker, OkFollowsTheBoxAndTheBoxFollowsTheTree) {
  test::TempDir dir;
  fs::create_directories(dir / "a");
  fs::create_directories(dir / "b");
  ScriptedMessages messages;
  FolderPicker picker("Reelcraft 1-05", kPrompt, dir / "a", nullptr, messages);
  WhenModalAppears([&](QWidget *window) {
    Picker p(window);
    p.box->clear();
    EXPECT_FALSE(p.ok->isEnabled()) << "an empty box";
    QTest::keyClicks(p.box, "/n");
    EXPECT_TRUE(p.ok->isEnabled()) << "a typed path, whatever the tree shows";
    auto *model = static_cast<QFileSystemModel *>(p.tree->model());
    p.tree->setCurrentIndex(model->index(QString::fromStdString(dir / "b")));
    EXPECT_EQ(p.box->text().toStdString(), dir / "b");
    EXPECT_TRUE(p.ok->isEnabled());
    p.tree->setCurrentIndex(QModelIndex());
    EXPECT_TRUE(p.box->text().isEmpty()) << "a selection without a path";
    EXPECT_FALSE(p.ok->isEnabled());
    p.Type(dir / "a");
    EXPECT_TRUE(p.ok->isEnabled());
    QTest::keyClick(p.box, Qt::Key_Return); // Enter is OK
  });
  EXPECT_EQ(picker.DoModal(), 1);
  EXPECT_EQ(picker.GetPath(), dir / "a");
}

TEST(FolderPicker, AMissingFolderIsCreatedOnlyAfterYesAndABadPathKeepsTheDialogOpen) {
  test::TempDir dir;
  std::string wanted = dir / "new/sub";
  ScriptedMessages messages;
  messages.QueueAnswer(MessageAnswer::No);
  messages.QueueAnswer(MessageAnswer::Yes);
  FolderPicker picker("Reelcraft 1-05", kPrompt, dir.path().string(), nullptr, messages);
  WhenModalAppears([&](QWidget *window) {
    Picker p(window);
    for (std::string bad : {std::string("relative/path"), dir / "new/"}) {
      p.Type(bad);
      p.tree->setFocus();
      p.ok->click();
      EXPECT_TRUE(window->isVisible()) << bad;
      EXPECT_EQ(window->focusWidget(), p.box) << bad;
      EXPECT_EQ(messages.texts().back(),
                "The folder:\n\n" + bad + "\n\nis invalid. Please reenter.");
    }
    p.Type(wanted);
    p.tree->setFocus();
    p.ok->click(); // answered No
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->focusWidget(), p.box);
    EXPECT_FALSE(fs::exists(dir / "new"));
    p.ok->click(); // answered Yes
  });
  EXPECT_EQ(picker.DoModal(), 1);
  EXPECT_EQ(picker.GetPath(), wanted);
  EXPECT_TRUE(fs::is_directory(wanted));
  std::string question =
      "The folder:\n\n" + wanted + "\n\ndoes not exist. Do you want the folder to be created?";
  ASSERT_EQ(messages.shown().size(), 4u);
  EXPECT_EQ(messages.shown()[2].text, question);
  EXPECT_EQ(messages.shown()[2].icon, MessageIcon::Question);
  EXPECT_EQ(messages.shown()[3].text, question);
}

TEST(FolderPicker, CancelGivesMinusOneEvenAfterAValidPathWasTyped) {
  test::TempDir dir;
  ScriptedMessages messages;
  for (int way = 0; way < 3; ++way) {
    FolderPicker picker("Reelcraft 1-05", kPrompt, std::nullopt, nullptr, messages);
    WhenModalAppears([&](QWidget *window) {
      Picker p(window);
      p.Type(dir.path().string());
      if (way == 0)
        p.cancel->click();
      else if (way == 1)
        QTest::keyClick(window, Qt::Key_Escape);
      else
        window->close();
    });
    EXPECT_EQ(picker.DoModal(), -1) << way;
  }
  EXPECT_TRUE(messages.shown().empty());
}

TEST(FolderPicker, TheRootIsAcceptedWithoutAQuestion) {
  ScriptedMessages messages;
  FolderPicker picker("Reelcraft 1-05", kPrompt, "/", nullptr, messages);
  WhenModalAppears([&](QWidget *window) {
    Picker p(window);
    EXPECT_EQ(p.box->text(), "/");
    EXPECT_EQ(p.Selected(), "/");
    p.ok->click();
  });
  EXPECT_EQ(picker.DoModal(), 1);
  EXPECT_EQ(picker.GetPath(), "/");
  EXPECT_TRUE(messages.shown().empty());
}

// The production message boxes, answered by clicking them: owned by the picker, captioned
// with the program's name.
TEST(FolderPicker, RealQuestionBoxIsOwnedByThePickerAndItsYesCreatesTheFolder) {
  test::TempDir dir;
  std::string wanted = dir / "made";
  QtMessages messages;
  FolderPicker picker("Reelcraft 1-05", kPrompt, dir.path().string(), nullptr, messages);
  std::vector<std::string> seen;
  WhenModalAppears([&](QWidget *window) {
    Picker p(window);
    p.Type(wanted);
    WhenModalAppears(
        [&](QWidget *box) {
          auto *question = qobject_cast<QMessageBox *>(box);
          ASSERT_NE(question, nullptr);
          EXPECT_EQ(question->parentWidget(), window);
          EXPECT_EQ(question->windowTitle(), "ui_tests");
          EXPECT_EQ(question->icon(), QMessageBox::Question);
          seen.push_back(question->text().toStdString());
          question->button(QMessageBox::Yes)->click();
        },
        window);
    p.ok->click();
  });
  EXPECT_EQ(picker.DoModal(), 1);
  EXPECT_TRUE(fs::is_directory(wanted));
  EXPECT_EQ(seen, std::vector<std::string>{"The folder:\n\n" + wanted +
                                           "\n\ndoes not exist. Do you want the folder to be "
                                           "created?"});
}

} // namespace
} // namespace reelcraft
