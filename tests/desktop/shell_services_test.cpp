// SPDX-License-Identifier: MIT
#include "desktop/desktop_integration.h"
#include "desktop/documents_folder.h"
#include "desktop/mimeapps_list.h"
#include "desktop/shell.h"

#include "tests/support/environment.h"
#include "tests/support/files.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

namespace reelcraft {
namespace {

namespace fs = std::filesystem;

TEST(DocumentsFolder, FollowsTheXdgUserDirectoriesAndFallsBackToHomeDocuments) {
  test::TempDir home;
  test::ScopedEnvironment homeVar("HOME", home.path().string());
  test::ScopedEnvironment config("XDG_CONFIG_HOME", std::nullopt);
  EXPECT_EQ(DocumentsFolder(), home / "Documents");

  std::filesystem::create_directories(home.path() / ".config");
  std::ofstream(home / ".config/user-dirs.dirs")
      << "# written by xdg-user-dirs-update\nXDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n";
  EXPECT_EQ(DocumentsFolder(), home / "Dokumente");
  std::ofstream(home / ".config/user-dirs.dirs") << "XDG_DOCUMENTS_DIR=\"$HOME/\"\n";
  EXPECT_EQ(DocumentsFolder(), home.path().string());

  test::ScopedEnvironment noHome("HOME", std::nullopt);
  EXPECT_EQ(DocumentsFolder(), std::nullopt);
}

TEST(Shell, OpensAFileWithXdgOpenFromItsFolder) {
  std::vector<std::string> started;
  std::string folder;
  bool answer = true;
  Shell shell(ShellHooks{[&](const std::vector<std::string> &argv, const std::string &in) {
    started = argv;
    folder = in;
    return answer;
  }});
  EXPECT_TRUE(shell.OpenWithProgram("/videos/My Clip.avi"));
  EXPECT_EQ(started, (std::vector<std::string>{"xdg-open", "/videos/My Clip.avi"}));
  EXPECT_EQ(folder, "/videos");
  answer = false;
  EXPECT_FALSE(shell.OpenWithProgram("/videos/My Clip.avi"));

  // A list entry of a relative folder text names the file from the current directory.
  answer = true;
  EXPECT_TRUE(shell.OpenWithProgram("videos/My Clip.avi"));
  fs::path absolute = fs::current_path() / "videos/My Clip.avi";
  EXPECT_EQ(started, (std::vector<std::string>{"xdg-open", absolute.string()}));
  EXPECT_EQ(folder, absolute.parent_path().string());
}

TEST(Shell, RenameNeverReplacesAndDeleteRemoves) {
  test::TempDir dir;
  Shell shell;
  test::WriteFileBytes(dir / "qvj1A.tmp", {1});
  test::WriteFileBytes(dir / "taken.avi", {2});
  EXPECT_FALSE(shell.Rename(dir / "qvj1A.tmp", dir / "taken.avi"));
  EXPECT_EQ(test::ReadFileBytes(dir / "taken.avi"), test::Bytes{2});
  EXPECT_TRUE(shell.Rename(dir / "qvj1A.tmp", dir / "qvj1a.avi"));
  EXPECT_TRUE(shell.Exists(dir / "qvj1a.avi"));
  EXPECT_FALSE(shell.Exists(dir / "qvj1A.tmp"));
  fs::create_directory(dir / "folder.avi");
  EXPECT_FALSE(shell.Exists(dir / "folder.avi"));
  EXPECT_TRUE(shell.Delete(dir / "qvj1a.avi"));
  EXPECT_FALSE(shell.Delete(dir / "qvj1a.avi"));

  std::string reserved = shell.ReserveTempName(dir.path().string()).path;
  EXPECT_TRUE(fs::path(reserved).filename().string().starts_with("qvj"));
  EXPECT_TRUE(reserved.ends_with(".tmp"));
  EXPECT_EQ(fs::file_size(reserved), 0u);
}

TEST(DesktopExecLine, QuotesWhatTheDesktopRulesRequireAndMapsTheFilePlaceholder) {
  EXPECT_EQ(DesktopExecLine({"/usr/bin/reel", "%1", "/c"}), "/usr/bin/reel %f /c");
  EXPECT_EQ(DesktopExecLine({"/home/a b/Reelcrafter/reel", "%1"}),
            "\"/home/a b/Reelcrafter/reel\" %f");
  EXPECT_EQ(DesktopExecLine({"/x/$HOME \"q\" `c` \\b", "%1", "/ct"}),
            "\"/x/\\$HOME \\\"q\\\" \\`c\\` \\\\b\" %f /ct");
  EXPECT_EQ(DesktopExecLine({"/x/100%", "%1"}), "/x/100%% %f");
  EXPECT_EQ(DesktopExecLine({"/x/it's", ""}), "\"/x/it's\" \"\"");
}

TEST(MimeappsList, SetsAndClearsOnlyOurDefaultAndKeepsTheRest) {
  std::string list =
      "[Added Associations]\nvideo/x-qvj=other.desktop;\n\n"
      "[Default Applications]\ntext/plain=editor.desktop;\nvideo/x-qvj=old.desktop;\n";
  std::string set = SetDefaultApplication(list, "video/x-qvj", "ours.desktop", true);
  EXPECT_EQ(set, "[Added Associations]\nvideo/x-qvj=other.desktop;\n\n"
                 "[Default Applications]\nvideo/x-qvj=ours.desktop;\ntext/plain=editor.desktop;\n");
  EXPECT_EQ(SetDefaultApplication(set, "video/x-qvj", "ours.desktop", false),
            "[Added Associations]\nvideo/x-qvj=other.desktop;\n\n"
            "[Default Applications]\ntext/plain=editor.desktop;\n");
  // A default the user chose since stays.
  EXPECT_EQ(SetDefaultApplication(list, "video/x-qvj", "ours.desktop", false), list);
  EXPECT_EQ(SetDefaultApplication("", "video/x-qvj", "ours.desktop", true),
            "[Default Applications]\nvideo/x-qvj=ours.desktop;\n");
  EXPECT_EQ(SetDefaultApplication("[A]\nx=y\n", "video/x-qvj", "ours.desktop", true),
            "[A]\nx=y\n\n[Default Applications]\nvideo/x-qvj=ours.desktop;\n");
}

} // namespace
} // namespace reelcraft
