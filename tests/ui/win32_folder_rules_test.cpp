// SPDX-License-Identifier: MIT
// Windows: the folder rules in drive-letter form.
#include "ui/folder_rules.h"

#include "tests/support/files.h"
#include "tests/support/scripted_messages.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <windows.h>

namespace reelcraft {
namespace {

namespace fs = std::filesystem;

// A drive letter that names no drive here.
std::string MissingDriveRoot() {
  DWORD drives = GetLogicalDrives();
  for (int letter = 'D'; letter <= 'Y'; ++letter)
    if (!(drives & (1u << (letter - 'A'))))
      return std::string(1, char(letter)) + ":\\";
  return {};
}

TEST(WindowsFolderRules, TakeOnlyADriveRootAndNamesSeparatedBySingleBackslashes) {
  test::TempDir dir;
  test::WriteFileBytes(dir / "file", {1});
  const struct {
    std::string path;
    bool checkOnly;
    int verdict;
  } cases[] = {
      {"C:\\", true, kFolderAccepted},
      {"c:\\", false, kFolderAccepted}, // an existing root, never created
      {MissingDriveRoot(), true, kFolderAccepted},
      {MissingDriveRoot(), false, kFolderNotCreated},
      {"E:\\Video\\Clips", true, kFolderAccepted},
      {dir / "A\\B", false, kFolderAccepted},
      {dir / "file\\inner", false, kFolderNotCreated},
      {dir / "Old\\bad?name", false, kFolderInvalid},
      {dir / "C\\", true, kFolderInvalid},
      {"E:", true, kFolderInvalid},
      {"E:\\Video\\", true, kFolderInvalid},
      {"E:\\\\Video", true, kFolderInvalid},
      {"E:/Video", true, kFolderInvalid},
      {"\\\\server\\share", true, kFolderInvalid},
      {"Video\\Clips", true, kFolderInvalid},
      {"/Video", true, kFolderInvalid},
      {"1:\\Video", true, kFolderInvalid},
  };
  for (const auto &c : cases)
    EXPECT_EQ(CheckOrCreatePath(c.path, c.checkOnly), c.verdict) << c.path << " " << c.checkOnly;
  EXPECT_TRUE(fs::is_directory(dir / "A\\B"));
  EXPECT_TRUE(fs::is_directory(dir / "Old")) << "made before the bad name";
}

TEST(WindowsFolderRules, AnExistingEntryIsTakenAndAMissingFolderOfferedWithTheSameMessages) {
  test::TempDir dir;
  test::WriteFileBytes(dir / "file", {1});
  ScriptedMessages messages;
  EXPECT_EQ(ValidateOrCreateFolder(dir / "file", messages), kFolderAccepted);
  EXPECT_EQ(ValidateOrCreateFolder("C:\\", messages), kFolderAccepted);
  EXPECT_TRUE(messages.shown().empty());

  std::string missing = dir / "New\\Clips";
  messages.QueueAnswer(MessageAnswer::Yes);
  EXPECT_EQ(ValidateOrCreateFolder(missing, messages), kFolderAccepted);
  EXPECT_TRUE(fs::is_directory(missing));
  EXPECT_EQ(ValidateOrCreateFolder(dir / "Video\\", messages), kFolderInvalid);
  EXPECT_EQ(
      messages.texts(),
      (std::vector<std::string>{
          "The folder:\n\n" + missing + "\n\ndoes not exist. Do you want the folder to be created?",
          "The folder:\n\n" + (dir / "Video\\") + "\n\nis invalid. Please reenter."}));
}

} // namespace
} // namespace reelcraft
