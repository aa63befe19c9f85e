// SPDX-License-Identifier: MIT
#include "ui/folder_rules.h"

#include "tests/support/files.h"
#include "tests/support/scripted_messages.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace reelcraft {
namespace {

namespace fs = std::filesystem;

std::string Question(const std::string &path) {
  return "The folder:\n\n" + path + "\n\ndoes not exist. Do you want the folder to be created?";
}
std::string Invalid(const std::string &path) {
  return "The folder:\n\n" + path + "\n\nis invalid. Please reenter.";
}
std::string NotCreated(const std::string &path) {
  return "The folder:\n\n" + path + "\n\ncan not be created. Please double check.";
}

TEST(IsValidFolderName, RejectsEmptyEdgeBlanksAndTheNineCharacters) {
  EXPECT_TRUE(IsValidFolderName("Clips"));
  EXPECT_TRUE(IsValidFolderName("a b.c"));
  EXPECT_TRUE(IsValidFolderName("\x01\xC3\xA9t\xC3\xA9")); // control and non-ASCII bytes
  EXPECT_FALSE(IsValidFolderName(""));
  for (const char *name : {".hidden", "end.", " lead", "trail ", "\tx", "x\t"})
    EXPECT_FALSE(IsValidFolderName(name)) << name;
  for (char c : std::string("\"*/:<>?\\|"))
    EXPECT_FALSE(IsValidFolderName(std::string("a") + c + "b")) << c;
}

TEST(CheckOrCreatePath, AcceptsOnlyTheAbsoluteFormWithinThePathBuffer) {
  EXPECT_EQ(CheckOrCreatePath("/", true), kFolderAccepted);
  EXPECT_EQ(CheckOrCreatePath("/home/user/Video Clips", true), kFolderAccepted);
  for (const char *bad : {"", "relative/path", "/home/", "//home", "/home//user", "/home/.x",
                          "/home/x ", "/a/b?c", "C:\\Video"})
    EXPECT_EQ(CheckOrCreatePath(bad, true), kFolderInvalid) << bad;
  EXPECT_EQ(CheckOrCreatePath(std::string("/a\0b", 4), true), kFolderInvalid);

  std::string fits = "/" + std::string(100, 'x') + "/" + std::string(kPathBufferSize - 103, 'y');
  ASSERT_EQ(fits.size(), kPathBufferSize - 1);
  EXPECT_EQ(CheckOrCreatePath(fits, true), kFolderAccepted);
  EXPECT_EQ(CheckOrCreatePath(fits + "z", true), kFolderInvalid);
}

TEST(CheckOrCreatePath, CreatesOuterFirstAndKeepsWhatItMadeBeforeABadName) {
  test::TempDir dir;
  EXPECT_EQ(CheckOrCreatePath(dir / "A/B/bad?name", false), kFolderInvalid);
  EXPECT_TRUE(fs::is_directory(dir / "A/B"));
  EXPECT_EQ(CheckOrCreatePath(dir / "A/B/C", false), kFolderAccepted);
  EXPECT_TRUE(fs::is_directory(dir / "A/B/C"));
  EXPECT_EQ(CheckOrCreatePath("/", false), kFolderAccepted);
}

TEST(ValidateOrCreateFolder, ExistingFolderOrFileIsAcceptedWithoutAQuestion) {
  test::TempDir dir;
  test::WriteFileBytes(dir / "file", {1, 2, 3});
  ScriptedMessages messages;
  EXPECT_EQ(ValidateOrCreateFolder(dir.path().string(), messages), kFolderAccepted);
  EXPECT_EQ(ValidateOrCreateFolder(dir / "file", messages), kFolderAccepted);
  EXPECT_EQ(ValidateOrCreateFolder("/", messages), kFolderAccepted);
  EXPECT_TRUE(messages.shown().empty());
}

TEST(ValidateOrCreateFolder, MalformedPathsAreInvalidBeforeAnyQuestion) {
  test::TempDir dir;
  for (std::string path : {dir / "Video/", dir / ".hidden", dir / "name ", dir / "Old/bad?name",
                           dir / "a//b", std::string("relative")}) {
    ScriptedMessages messages;
    messages.QueueAnswer(MessageAnswer::Yes);
    EXPECT_EQ(ValidateOrCreateFolder(path, messages), kFolderInvalid) << path;
    ASSERT_EQ(messages.shown().size(), 1u) << path;
    EXPECT_EQ(messages.shown()[0].text, Invalid(path));
    EXPECT_EQ(messages.shown()[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(messages.shown()[0].icon, MessageIcon::Exclamation);
  }
  EXPECT_FALSE(fs::exists(dir / "Old"));
  EXPECT_FALSE(fs::exists(dir / "Video"));
}

TEST(ValidateOrCreateFolder, OneQuestionThenNestedFoldersAreCreated) {
  test::TempDir dir;
  std::string path = dir / "New/Sub";
  ScriptedMessages messages;
  messages.QueueAnswer(MessageAnswer::Yes);
  EXPECT_EQ(ValidateOrCreateFolder(path, messages), kFolderAccepted);
  ASSERT_EQ(messages.shown().size(), 1u);
  EXPECT_EQ(messages.shown()[0].text, Question(path));
  EXPECT_EQ(messages.shown()[0].buttons, MessageButtons::YesNo);
  EXPECT_EQ(messages.shown()[0].icon, MessageIcon::Question);
  EXPECT_TRUE(fs::is_directory(path));
}

TEST(ValidateOrCreateFolder, DeclinedCreationIsSilentAndCreatesNothing) {
  test::TempDir dir;
  ScriptedMessages messages;
  messages.QueueAnswer(MessageAnswer::No);
  EXPECT_EQ(ValidateOrCreateFolder(dir / "New/Sub", messages), kFolderDeclined);
  EXPECT_EQ(messages.texts(), std::vector<std::string>{Question(dir / "New/Sub")});
  EXPECT_FALSE(fs::exists(dir / "New"));
}

TEST(ValidateOrCreateFolder, AFolderThatCannotBeMadeIsReportedAfterYes) {
  test::TempDir dir;
  test::WriteFileBytes(dir / "file", {1});
  std::string path = dir / "file/Sub"; // a regular file stands where a folder should be
  ScriptedMessages messages;
  messages.QueueAnswer(MessageAnswer::Yes);
  EXPECT_EQ(ValidateOrCreateFolder(path, messages), kFolderNotCreated);
  EXPECT_EQ(messages.texts(), (std::vector<std::string>{Question(path), NotCreated(path)}));
  EXPECT_EQ(messages.shown()[1].icon, MessageIcon::Exclamation);
}

} // namespace
} // namespace reelcraft
