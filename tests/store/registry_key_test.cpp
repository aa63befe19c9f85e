// SPDX-License-Identifier: MIT
#include "store/registry_key.h"

#include "tests/support/files.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>

namespace reelcraft {
namespace {

const char *const kSettings = "SOFTWARE\\Orlancor\\Reelcrafter";
// A value type the program never writes (raw bytes).
constexpr uint32_t kBinaryType = 3;

// A string read back through a buffer of `size` bytes; "<0>" when nothing was read.
std::string Read(const RegistryKey &key, const char *name, uint32_t size) {
  std::vector<char> buffer(size, 'x');
  uint32_t got = key.QueryString(name, buffer.data(), size);
  if (got == 0)
    return "<0>";
  EXPECT_EQ(buffer[got - 1], '\0');
  return std::string(buffer.data(), got - 1);
}

class RegistryKeyTest : public testing::Test {
protected:
  test::TempDir dir_;
  RegistryStore store_{dir_ / "registry.sqlite"};
};

TEST_F(RegistryKeyTest, AKeyThatIsNotOpenReadsZeroAndRefusesWrites) {
  RegistryKey key(store_);
  key.Open(RegistryRoot::CurrentUser, kSettings, false, false); // missing, not created
  EXPECT_FALSE(key.IsOpen());
  uint32_t number = 7;
  EXPECT_FALSE(key.QueryDword("Version", number));
  EXPECT_EQ(number, 7u);
  EXPECT_EQ(Read(key, "Version", 260), "<0>");
  EXPECT_FALSE(key.SetDword("Version", 261));
  EXPECT_FALSE(key.SetString(nullptr, "text"));

  RegistryKey child(store_);
  child.CreateSubKey(key, "Child", false);
  EXPECT_FALSE(child.IsOpen());
  EXPECT_FALSE(child.SetString(nullptr, "text"));
  RegistryKey probe(store_);
  probe.Open(RegistryRoot::CurrentUser, kSettings, false, true);
  EXPECT_FALSE(probe.IsOpen()); // nothing was made on the way

  key.Open(RegistryRoot::CurrentUser, kSettings, true, false);
  ASSERT_TRUE(key.IsOpen());
  ASSERT_TRUE(key.SetDword("Version", 261));
  key.Close();
  key.Close();
  EXPECT_FALSE(key.IsOpen());
  EXPECT_FALSE(key.QueryDword("Version", number));
  EXPECT_FALSE(key.SetDword("Version", 1));
}

TEST_F(RegistryKeyTest, ValuesAreReadOnlyAsTheTypeTheyWereStoredWith) {
  RegistryKey key(store_);
  key.Open(RegistryRoot::CurrentUser, kSettings, true, false);
  ASSERT_TRUE(key.SetDword("Number", 0x01020304));
  ASSERT_TRUE(key.SetString("Text", "261"));
  ASSERT_TRUE(store_.SetValue(
      *store_.OpenKey(RegistryStore::Root(RegistryRoot::CurrentUser), kSettings, false), "Short",
      {kBinaryType, {1, 0}}));
  ASSERT_TRUE(store_.SetValue(
      *store_.OpenKey(RegistryStore::Root(RegistryRoot::CurrentUser), kSettings, false), "Narrow",
      {REG_DWORD, {1, 0}}));

  uint32_t number = 0;
  EXPECT_TRUE(key.QueryDword("Number", number));
  EXPECT_EQ(number, 0x01020304u);
  for (const char *notANumber : {"Text", "Short", "Narrow", "Missing"}) {
    number = 0;
    EXPECT_FALSE(key.QueryDword(notANumber, number)) << notANumber;
    EXPECT_EQ(number, 0u) << notANumber;
  }
  EXPECT_EQ(Read(key, "Number", 260), "<0>");
  EXPECT_EQ(Read(key, "Short", 260), "<0>");
  EXPECT_EQ(Read(key, "Text", 260), "261");
}

TEST_F(RegistryKeyTest, AStringIsReadOnlyIntoABufferThatHoldsItAndItsZero) {
  RegistryKey key(store_);
  key.Open(RegistryRoot::CurrentUser, kSettings, true, false);
  std::string path(259, 'p');
  ASSERT_TRUE(key.SetString("Path", path));
  char buffer[260];
  EXPECT_EQ(key.QueryString("Path", buffer, sizeof buffer), 260u);
  EXPECT_EQ(std::strlen(buffer), 259u);
  EXPECT_EQ(Read(key, "Path", 259), "<0>");
  ASSERT_TRUE(key.SetString("Path", path + "q"));
  EXPECT_EQ(Read(key, "Path", 260), "<0>");
  EXPECT_EQ(key.QueryString("Path", nullptr, 0), 0u);
}

TEST_F(RegistryKeyTest, TheUnnamedValueIsTheKeysDefault) {
  RegistryKey key(store_);
  key.Open(RegistryRoot::ClassesRoot, ".qvj", true, false);
  ASSERT_TRUE(key.SetString(nullptr, "QVJ.Reelcraft.1"));
  EXPECT_EQ(Read(key, nullptr, 260), "QVJ.Reelcraft.1");
  EXPECT_EQ(Read(key, "", 260), "QVJ.Reelcraft.1");
  EXPECT_EQ(Read(key, "Other", 260), "<0>");
  ASSERT_TRUE(key.SetString(nullptr, ""));
  EXPECT_EQ(Read(key, nullptr, 260), "");
}

TEST_F(RegistryKeyTest, SubKeysAreMadeBelowTheParentWithTheirOwnAccess) {
  RegistryKey type(store_);
  type.Open(RegistryRoot::ClassesRoot, "QVJ.Reelcraft.1", true, false);
  RegistryKey shell(store_);
  shell.CreateSubKey(type, "shell", false);
  RegistryKey open(store_);
  open.CreateSubKey(shell, "open", true);
  ASSERT_TRUE(open.IsOpen());
  EXPECT_FALSE(open.SetString(nullptr, "refused")); // read-only
  EXPECT_EQ(Read(open, nullptr, 260), "<0>");

  RegistryKey again(store_);
  again.Open(RegistryRoot::ClassesRoot, "QVJ.Reelcraft.1\\shell\\open", false, false);
  ASSERT_TRUE(again.IsOpen());
  ASSERT_TRUE(again.SetString(nullptr, "written"));
  EXPECT_EQ(Read(open, nullptr, 260), "written"); // one key, seen through both objects

  // Below a read-only parent an existing key opens, a missing one is not made.
  RegistryKey readOnly(store_);
  readOnly.Open(RegistryRoot::ClassesRoot, "QVJ.Reelcraft.1\\shell", false, true);
  RegistryKey existing(store_);
  existing.CreateSubKey(readOnly, "open", false);
  EXPECT_TRUE(existing.IsOpen());
  RegistryKey missing(store_);
  missing.CreateSubKey(readOnly, "create", false);
  EXPECT_FALSE(missing.IsOpen());
}

TEST_F(RegistryKeyTest, ADamagedStoreFileIsAKeyThatCannotBeOpened) {
#ifdef _WIN32
  GTEST_SKIP() << "the registry has no file of ours to be damaged";
#endif
  test::WriteFileBytes(dir_ / "damaged.sqlite", test::Bytes(4096, 0x5A));
  RegistryStore damaged(dir_ / "damaged.sqlite");
  RegistryKey key(damaged);
  key.Open(RegistryRoot::CurrentUser, kSettings, true, false);
  EXPECT_FALSE(key.IsOpen());
  EXPECT_FALSE(key.SetDword("Version", 261));
  EXPECT_EQ(test::ReadFileBytes(dir_ / "damaged.sqlite"), test::Bytes(4096, 0x5A));
}

} // namespace
} // namespace reelcraft
