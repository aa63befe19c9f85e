// SPDX-License-Identifier: MIT
#include "app/system_installation.h"

#include "tests/support/environment.h"
#include "tests/support/files.h"
#include "tests/support/scripted_messages.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

namespace reelcraft {
namespace {

namespace fs = std::filesystem;

class Titles : public CopyObserver {
public:
  void Begin(const std::string &title, uint64_t) override { titles.push_back(title); }
  std::vector<std::string> titles;
};

// A home of its own beside a package's installation below `usr`: the program, its desktop
// entry and the clip type, with the package's data folder among the system's.
class SystemInstallationTest : public testing::Test {
protected:
  SystemInstallationTest() {
    for (const char *folder :
         {"home", "usr/bin", "usr/share/applications", "usr/share/mime/packages"})
      fs::create_directories(dir_ / folder);
    test::WriteFileBytes(Program(), {'#', '!'});
    test::WriteFileBytes(Data() + "/applications/org.orlancor.Reelcraft.desktop", {'['});
    test::WriteFileBytes(Data() + "/mime/packages/reelcraft-qvj.xml", {'<'});
  }

  std::string Program() const { return dir_ / "usr/bin/reelcraft"; }
  std::string Data() const {
    return fs::weakly_canonical(fs::path(dir_ / "usr/bin") / REELCRAFT_DATA_FROM_PROGRAM).string();
  }
  std::string MimeApps() const { return dir_ / "home/.config/mimeapps.list"; }

  // Every file below the home folder.
  std::set<std::string> HomeFiles() const {
    std::set<std::string> files;
    for (const auto &entry : fs::recursive_directory_iterator(dir_ / "home"))
      if (!entry.is_directory())
        files.insert(fs::relative(entry.path(), dir_ / "home").string());
    return files;
  }

  InstallContext Context(RegistryStore &store) {
    return {messages_, shell_, store, copy_, [this] { return ProgramPath{Program()}; }};
  }
  bool Register() {
    RegistryStore store;
    return RegisterProgram(Context(store));
  }
  void Unregister() {
    RegistryStore store;
    UnregisterProgram(Context(store));
  }

  test::TempDir dir_;
  test::ScopedEnvironment home_{"HOME", dir_ / "home"};
  test::ScopedEnvironment dataHome_{"XDG_DATA_HOME", std::nullopt};
  test::ScopedEnvironment configHome_{"XDG_CONFIG_HOME", std::nullopt};
  test::ScopedEnvironment dataDirs_{"XDG_DATA_DIRS", "/usr/share:" + Data()};
  test::ScopedEnvironment registry_{"REELCRAFT_REGISTRY", dir_ / "store/registry.sqlite"};
  ScriptedMessages messages_;
  Titles copy_;
  Shell shell_{ShellHooks{[](auto &, auto &) { return false; }, [](auto &) { return 0; }}};
};

TEST_F(SystemInstallationTest, OnlyAnInstallationThatTheSystemKnowsWithItsEntryAndTypeCounts) {
  fs::create_directories(dir_ / "links");
  fs::create_directory_symlink(Data(), dir_ / "links/share");
  struct Case {
    const char *what;
    std::string dataDirs;
    std::string removed; // a file of the installation taken away
    std::string program;
    bool counts;
  };
  const Case cases[] = {
      {"among the system's data folders", "/usr/share:" + Data(), "", Program(), true},
      {"through a link", dir_ / "links/share", "", Program(), true},
      {"not among them", "/usr/share", "", Program(), false},
      {"no desktop entry", Data(), "/applications/org.orlancor.Reelcraft.desktop", Program(),
       false},
      {"no clip type", Data(), "/mime/packages/reelcraft-qvj.xml", Program(), false},
      {"a build folder", Data(), "", dir_ / "build/gui/reelcraft", false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    test::ScopedEnvironment dataDirs("XDG_DATA_DIRS", c.dataDirs);
    if (!c.removed.empty())
      fs::rename(Data() + c.removed, dir_ / "aside");
    std::optional<std::string> found = SystemDataFolderOf(c.program);
    EXPECT_EQ(found.value_or("none"), c.counts ? Data() : "none");
    if (!c.removed.empty())
      fs::rename(dir_ / "aside", Data() + c.removed);
  }
}

TEST_F(SystemInstallationTest, RegistrationWritesTheDefaultForClipsAloneAndRemovalTakesItBack) {
  ASSERT_TRUE(Register());
  EXPECT_TRUE(messages_.shown().empty());
  EXPECT_TRUE(copy_.titles.empty());
  EXPECT_EQ(HomeFiles(), std::set<std::string>{".config/mimeapps.list"});
  EXPECT_EQ(test::RunCommand("cat " + test::ShellQuote(MimeApps())).output,
            "[Default Applications]\nvideo/x-qvj=org.orlancor.Reelcraft.desktop;\n");
  RegistryStore store;
  EXPECT_TRUE(store.SubKeyNames(RegistryStore::Root(RegistryRoot::ClassesRoot)).empty());

  Unregister();
  EXPECT_TRUE(HomeFiles().empty());

  // A list of the user's own keeps the rest, and a choice of another program stays.
  const std::string own = "[Default Applications]\ntext/plain=editor.desktop;\n";
  fs::create_directories(dir_ / "home/.config");
  std::ofstream(MimeApps()) << own;
  ASSERT_TRUE(Register());
  Unregister();
  EXPECT_EQ(test::RunCommand("cat " + test::ShellQuote(MimeApps())).output, own);
  std::ofstream(MimeApps()) << "[Default Applications]\nvideo/x-qvj=player.desktop;\n";
  Unregister();
  EXPECT_EQ(test::RunCommand("cat " + test::ShellQuote(MimeApps())).output,
            "[Default Applications]\nvideo/x-qvj=player.desktop;\n");
}

TEST_F(SystemInstallationTest, AProgramOutsideTheSystemsFoldersStillCopiesItself) {
  test::ScopedEnvironment dataDirs("XDG_DATA_DIRS", "/usr/share");
  ASSERT_TRUE(Register());
  EXPECT_EQ(copy_.titles, std::vector<std::string>{"Installing..."});
  EXPECT_TRUE(HomeFiles().count(".local/share/Reelcrafter/reelcraft"));
  EXPECT_TRUE(HomeFiles().count(".local/share/applications/reelcraft-qvj-open.desktop"));
  Unregister();
  EXPECT_FALSE(HomeFiles().count(".local/share/applications/reelcraft-qvj-open.desktop"));
}

} // namespace
} // namespace reelcraft
