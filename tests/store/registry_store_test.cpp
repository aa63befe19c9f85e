// SPDX-License-Identifier: MIT
#include "store/registry_store.h"

#include "tests/support/environment.h"
#include "tests/support/files.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

#include <filesystem>
#include <thread>

namespace reelcraft {
namespace {

const RegistryKeyId kUser = RegistryStore::Root(RegistryRoot::CurrentUser);
const RegistryKeyId kMachine = RegistryStore::Root(RegistryRoot::LocalMachine);
const RegistryKeyId kClasses = RegistryStore::Root(RegistryRoot::ClassesRoot);

RegistryValue Text(const std::string &text) {
  RegistryValue value{REG_SZ, std::vector<uint8_t>(text.begin(), text.end())};
  value.data.push_back(0);
  return value;
}

TEST(RegistryStore, KeysAndValuesAreFoundWithoutRegardToLetterCase) {
  test::TempDir dir;
  RegistryStore store(dir / "registry.sqlite");
  std::optional<RegistryKeyId> key = store.OpenKey(kUser, "SOFTWARE\\Orlancor\\Reelcrafter", true);
  ASSERT_TRUE(key);
  EXPECT_EQ(store.OpenKey(kUser, "software\\ORLANCOR\\reelcrafter", false), key);
  EXPECT_EQ(store.OpenKey(kUser, "SOFTWARE", false), store.OpenKey(kUser, "Software", true));
  EXPECT_FALSE(store.OpenKey(kClasses, "SOFTWARE\\Orlancor", false)); // another root
  EXPECT_FALSE(store.OpenKey(kUser, "SOFTWARE\\Missing", false));
  for (const char *bad : {"\\SOFTWARE", "SOFTWARE\\\\Orlancor", "SOFTWARE\\"})
    EXPECT_FALSE(store.OpenKey(kUser, bad, true)) << bad;

  ASSERT_TRUE(store.SetValue(*key, "Version", {REG_DWORD, {5, 1, 0, 0}}));
  std::optional<RegistryValue> value = store.QueryValue(*key, "VERSION");
  ASSERT_TRUE(value);
  EXPECT_EQ(value->type, REG_DWORD);
  EXPECT_EQ(value->data, (std::vector<uint8_t>{5, 1, 0, 0}));

  ASSERT_TRUE(store.SetValue(*key, "", Text("default")));
  EXPECT_EQ(store.QueryValue(*key, "")->data, Text("default").data);
  EXPECT_FALSE(store.QueryValue(*key, "Other"));
  EXPECT_EQ(store.OpenKey(*key, "", false), key);
}

TEST(RegistryStore, SubKeysAreListedAndDeletedOnlyWhenTheyHaveNone) {
  test::TempDir dir;
  RegistryStore store(dir / "registry.sqlite");
  std::optional<RegistryKeyId> shell = store.OpenKey(kClasses, "Type\\shell", true);
  ASSERT_TRUE(shell);
  ASSERT_TRUE(store.OpenKey(*shell, "open\\command", true));
  ASSERT_TRUE(store.OpenKey(*shell, "create", true));
  EXPECT_EQ(store.SubKeyNames(*shell), (std::vector<std::string>{"create", "open"}));

  EXPECT_FALSE(store.DeleteKey(kClasses, "Type\\shell\\open"));
  std::optional<RegistryKeyId> command =
      store.OpenKey(kClasses, "Type\\shell\\open\\command", false);
  ASSERT_TRUE(store.SetValue(*command, "", Text("x")));
  EXPECT_TRUE(store.DeleteKey(kClasses, "TYPE\\Shell\\Open\\Command"));
  EXPECT_TRUE(store.DeleteKey(kClasses, "Type\\shell\\open"));
  EXPECT_FALSE(store.DeleteKey(kClasses, "Type\\shell\\open"));
  EXPECT_FALSE(store.DeleteKey(kClasses, ""));

  // A key id held across a deletion no longer reaches anything, even when the key is made
  // again.
  EXPECT_FALSE(store.QueryValue(*command, ""));
  EXPECT_FALSE(store.SetValue(*command, "", Text("y")));
  std::optional<RegistryKeyId> again = store.OpenKey(kClasses, "Type\\shell\\open\\command", true);
  ASSERT_TRUE(again);
  EXPECT_NE(again, command);
  EXPECT_FALSE(store.QueryValue(*again, ""));
}

TEST(RegistryStore, TwoStoresOnOneFileSeeEachOthersWrites) {
  test::TempDir dir;
  RegistryStore first(dir / "registry.sqlite");
  RegistryStore second(dir / "registry.sqlite");
  std::optional<RegistryKeyId> key = first.OpenKey(kUser, "SOFTWARE\\Orlancor\\Reelcrafter", true);
  ASSERT_TRUE(key);
  ASSERT_TRUE(first.SetValue(*key, "NeverAskRegister", {REG_DWORD, {1, 0, 0, 0}}));
  std::optional<RegistryKeyId> seen =
      second.OpenKey(kUser, "SOFTWARE\\Orlancor\\Reelcrafter", false);
  ASSERT_EQ(seen, key);
  EXPECT_EQ(second.QueryValue(*seen, "NeverAskRegister")->data, (std::vector<uint8_t>{1, 0, 0, 0}));
  ASSERT_TRUE(second.SetValue(*seen, "NeverAskRegister", {REG_DWORD, {0, 0, 0, 0}}));
  EXPECT_EQ(first.QueryValue(*key, "NeverAskRegister")->data, (std::vector<uint8_t>{0, 0, 0, 0}));
}

TEST(RegistryStore, WritersAtTheSameTimeAllSucceed) {
  test::TempDir dir;
  { RegistryStore(dir / "registry.sqlite").OpenKey(kUser, "Shared", true); }
  auto writer = [&](int id, int &failures) {
    RegistryStore store(dir / "registry.sqlite");
    for (int i = 0; i < 60; ++i) {
      std::optional<RegistryKeyId> key =
          store.OpenKey(kUser, "Shared\\W" + std::to_string(id), true);
      if (!key ||
          !store.SetValue(*key, "n" + std::to_string(i), {REG_DWORD, {uint8_t(i), 0, 0, 0}}))
        ++failures;
    }
  };
  int failuresA = 0, failuresB = 0;
  std::thread a(writer, 1, std::ref(failuresA));
  std::thread b(writer, 2, std::ref(failuresB));
  a.join();
  b.join();
  EXPECT_EQ(failuresA + failuresB, 0);
  RegistryStore reader(dir / "registry.sqlite");
  EXPECT_TRUE(reader.QueryValue(*reader.OpenKey(kUser, "Shared\\W2", false), "n59"));
}

TEST(RegistryStore, ADamagedOrForeignFileFailsEveryOperationAndIsNeverRewritten) {
#ifdef _WIN32
  GTEST_SKIP() << "the registry has no file of ours to be damaged";
#endif
  test::TempDir dir;
  test::Bytes garbage(3000);
  for (size_t i = 0; i < garbage.size(); ++i)
    garbage[i] = uint8_t(i * 7 + 1);
  test::WriteFileBytes(dir / "damaged.sqlite", garbage);
  ASSERT_EQ(test::RunCommand("sqlite3 " + test::ShellQuote(dir / "foreign.sqlite") +
                             " 'CREATE TABLE notes(text); INSERT INTO notes VALUES(1);'")
                .status,
            0);
  test::Bytes foreign = test::ReadFileBytes(dir / "foreign.sqlite");

  for (const char *name : {"damaged.sqlite", "foreign.sqlite"}) {
    RegistryStore store(dir / name);
    EXPECT_FALSE(store.OpenKey(kUser, "SOFTWARE", true)) << name;
    EXPECT_FALSE(store.OpenKey(kMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", false));
    EXPECT_FALSE(store.QueryValue(kUser, ""));
    EXPECT_FALSE(store.SetValue(kUser, "x", Text("y")));
    EXPECT_TRUE(store.SubKeyNames(kUser).empty());
  }
  EXPECT_EQ(test::ReadFileBytes(dir / "damaged.sqlite"), garbage);
  EXPECT_EQ(test::ReadFileBytes(dir / "foreign.sqlite"), foreign);

  std::filesystem::create_directory(dir / "folder.sqlite"); // cannot be opened at all
  RegistryStore unopenable(dir / "folder.sqlite");
  EXPECT_FALSE(unopenable.OpenKey(kUser, "SOFTWARE", true));
}

TEST(RegistryStore, MissingFoldersAreMadeAndTheDefaultFileFollowsTheEnvironment) {
#ifdef _WIN32
  GTEST_SKIP() << "the registry itself is the default store";
#endif
  test::TempDir dir;
  RegistryStore store(dir / "a/b/registry.sqlite");
  EXPECT_TRUE(store.OpenKey(kUser, "SOFTWARE", true));
  EXPECT_TRUE(std::filesystem::exists(dir / "a/b/registry.sqlite"));

  test::ScopedEnvironment config("XDG_CONFIG_HOME", dir / "config");
  {
    test::ScopedEnvironment named("REELCRAFT_REGISTRY", dir / "named.sqlite");
    EXPECT_EQ(RegistryStore::DefaultFile(), dir / "named.sqlite");
  }
  test::ScopedEnvironment unnamed("REELCRAFT_REGISTRY", "");
  EXPECT_EQ(RegistryStore::DefaultFile(), dir / "config/reelcraft/registry.sqlite");
}

TEST(RegistryStore, ProgramFilesFolderDefaultsToTheUsersDataFolder) {
  test::TempDir dir;
#ifdef _WIN32
  // Installed for the user alone, where no administrator is needed.
  test::ScopedEnvironment data("LOCALAPPDATA", dir / "data");
  std::string expected = dir / "data" + "\\Programs";
#else
  test::ScopedEnvironment data("XDG_DATA_HOME", dir / "data");
  std::string expected = dir / "data";
#endif
  RegistryStore store(dir / "registry.sqlite");
  std::optional<RegistryKeyId> key =
      store.OpenKey(kMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", false);
  ASSERT_TRUE(key);
  std::optional<RegistryValue> value = store.QueryValue(*key, "ProgramFilesDir");
  ASSERT_TRUE(value);
  EXPECT_EQ(value->type, REG_SZ);
  EXPECT_EQ(value->data, Text(expected).data);
  EXPECT_FALSE(store.QueryValue(*store.OpenKey(kUser, "Other", true), "ProgramFilesDir"));

  ASSERT_TRUE(store.SetValue(*key, "ProgramFilesDir", Text("/opt")));
  EXPECT_EQ(store.QueryValue(*key, "programfilesdir")->data, Text("/opt").data);
}

#ifdef _WIN32
// Without a file the store is the registry itself, the classes the user's own.
TEST(RegistryStore, WithoutAFileTheKeysAreTheRegistrysOwn) {
  RegistryStore store("");
  std::optional<RegistryKeyId> settings =
      store.OpenKey(kUser, "SOFTWARE\\Orlancor\\Reelcrafter test", true);
  std::optional<RegistryKeyId> type = store.OpenKey(kClasses, ".qvjtest", true);
  ASSERT_TRUE(settings && type);
  ASSERT_TRUE(store.SetValue(*settings, "Version", {REG_DWORD, {5, 1, 0, 0}}));
  ASSERT_TRUE(store.SetValue(*type, "", Text("QVJ.Test.1 \u00e9")));

  DWORD version = 0, size = sizeof version;
  EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, L"Software\\Orlancor\\Reelcrafter test", L"Version",
                         RRF_RT_REG_DWORD, nullptr, &version, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(version, 0x105u);
  wchar_t text[64];
  size = sizeof text;
  EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, L"Software\\Classes\\.qvjtest", nullptr, RRF_RT_REG_SZ,
                         nullptr, text, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(std::wstring(text), L"QVJ.Test.1 \u00e9");

  EXPECT_TRUE(store.DeleteKey(kClasses, ".qvjtest"));
  EXPECT_TRUE(store.DeleteKey(kUser, "SOFTWARE\\Orlancor\\Reelcrafter test"));
  HKEY gone = nullptr;
  EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Classes\\.qvjtest", 0, KEY_READ, &gone),
            ERROR_SUCCESS);
}
#endif

} // namespace
} // namespace reelcraft
