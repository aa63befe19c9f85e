// SPDX-License-Identifier: MIT
#include "app/installation.h"

#include "desktop/command_text.h"
#include "tests/support/environment.h"
#include "tests/support/files.h"
#include "tests/support/scripted_messages.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace reelcraft {
namespace {

namespace fs = std::filesystem;

const std::string kType = "QVJ.Reelcraft.1";

class CountingCopy : public CopyObserver {
public:
  void Begin(const std::string &, uint64_t) override {}
  bool Progress(uint64_t, uint64_t) override { return true; }
  bool AskReplace(const std::string &) override {
    ++questions;
    return true;
  }
  int questions = 0;
};

// The store's private tree and a folder of the user's own programs of the test's own; the
// program to install lies in a folder with a space, as a user's download may.
class WindowsInstallationTest : public testing::Test {
protected:
  WindowsInstallationTest() {
    fs::create_directories(dir_.path() / "build dir");
    WriteProgram("first");
  }

  void WriteProgram(const std::string &mark) { std::ofstream(program_, std::ios::binary) << mark; }
  std::string Installed() const {
    return dir_ / "Local App Data\\Programs\\Reelcrafter\\reelcraft.exe";
  }
  InstallContext Context(RegistryStore &store) {
    return {messages_, shell_, store, copy_, [this] { return ProgramPath{program_}; }};
  }

  static std::string ClassesDefault(RegistryStore &store, const std::string &path) {
    auto key = store.OpenKey(RegistryStore::Root(RegistryRoot::ClassesRoot), path, false);
    if (!key)
      return "<no key>";
    auto value = store.QueryValue(*key, "");
    return value ? std::string(value->data.begin(), value->data.end() - 1) : "<none>";
  }

  test::TempDir dir_;
  std::string program_ = dir_ / "build dir\\reelcraft.exe";
  test::ScopedEnvironment local_{"LOCALAPPDATA", dir_ / "Local App Data"};
  ScriptedMessages messages_;
  CountingCopy copy_;
  Shell shell_;
};

// The commands name the copy in the user's programs folder with the system's separators, and
// the shell's way of reading them gives start-up the clip and the verb's switch.
TEST_F(WindowsInstallationTest, InstallsForTheUserAloneAndRemovesEveryKey) {
  RegistryStore store(dir_ / "store");
  for (const char *mark : {"first", "second"}) {
    WriteProgram(mark);
    ASSERT_TRUE(InstallProgram(Context(store))) << mark;
    EXPECT_EQ(test::ReadFileBytes(Installed()), test::ReadFileBytes(program_)) << mark;
  }
  EXPECT_EQ(copy_.questions, 0);
  EXPECT_TRUE(messages_.shown().empty());

  const std::pair<const char *, const char *> verbs[] = {
      {"open", ""}, {"create", "/c"}, {"createto", "/ct"}};
  for (const auto &[verb, switchText] : verbs) {
    std::string command = ClassesDefault(store, kType + "\\shell\\" + verb + "\\command");
    auto split = SplitVerbCommand(command);
    ASSERT_TRUE(split) << command;
    std::vector<std::string> expected = {Installed(), "%1"};
    if (*switchText)
      expected.push_back(switchText);
    EXPECT_EQ(*split, expected) << command;
  }
  EXPECT_EQ(ClassesDefault(store, ".qvj"), kType);

  EXPECT_TRUE(RemoveRegistration(Context(store)));
  EXPECT_TRUE(store.SubKeyNames(RegistryStore::Root(RegistryRoot::ClassesRoot)).empty());
  EXPECT_TRUE(RemoveRegistration(Context(store)));
  EXPECT_TRUE(messages_.shown().empty());
  EXPECT_TRUE(fs::exists(Installed()));
}

// The system's Program Files folder would need an administrator: the system's registry gives
// the user's own programs folder in its place.
TEST_F(WindowsInstallationTest, TheSystemsRegistryNamesTheUsersProgramsFolder) {
  RegistryStore store("");
  auto key = store.OpenKey(RegistryStore::Root(RegistryRoot::LocalMachine),
                           "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", false);
  ASSERT_TRUE(key);
  auto value = store.QueryValue(*key, "ProgramFilesDir");
  ASSERT_TRUE(value);
  EXPECT_EQ(std::string(value->data.begin(), value->data.end() - 1),
            dir_ / "Local App Data\\Programs");
}

} // namespace
} // namespace reelcraft
