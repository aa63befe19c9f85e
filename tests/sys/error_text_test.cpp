// SPDX-License-Identifier: MIT
#include "sys/error_text.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace reelcraft {
namespace {

TEST(SystemErrorText, KnownCodeReplacesTheCallersTextAndUnknownCodesLeaveIt) {
  std::string text = "before";
  SystemErrorText(ENOENT, text);
#ifdef _WIN32 // the system's message table words it, each Windows in its own way
  EXPECT_NE(text, "before");
  EXPECT_FALSE(text.empty());
#else
  EXPECT_EQ(text, "No such file or directory");
#endif

  for (uint32_t unknown : {99999u, 0x80000000u, 0xFFFFFFFFu}) {
    std::string kept = "caller's text";
    SystemErrorText(unknown, kept);
    EXPECT_EQ(kept, "caller's text") << unknown;
  }
}

TEST(FileErrorTextTest, ChoosesTheSentenceByCause) {
  EXPECT_EQ(FileErrorText(ENOENT, "a.qvj"), "a.qvj was not found.");
  EXPECT_EQ(FileErrorText(EACCES, "a.qvj"), "Access to a.qvj was denied.");
  EXPECT_EQ(FileErrorText(EPERM, "a.qvj"), "Access to a.qvj was denied.");
  EXPECT_EQ(FileErrorText(EMFILE, "a"),
            "a could not be opened because there are too many open files.");
  EXPECT_EQ(FileErrorText(ENFILE, "a"), FileErrorText(EMFILE, "a"));
  EXPECT_EQ(FileErrorText(ENOTDIR, "a"), "a contains an invalid path.");
  EXPECT_EQ(FileErrorText(ENAMETOOLONG, "a"), "a contains an invalid path.");
  EXPECT_EQ(FileErrorText(EINVAL, "a"), "a contains an invalid path.");
  EXPECT_EQ(FileErrorText(EIO, "a"), "A hardware I/O error was reported while accessing a.");
  EXPECT_EQ(FileErrorText(ENOSPC, "a"), "Disk full while accessing a.");
#ifdef EDQUOT
  EXPECT_EQ(FileErrorText(EDQUOT, "a"), "Disk full while accessing a.");
#endif
  EXPECT_EQ(FileErrorText(EBADF, "a"), "An invalid file handle was associated with a.");
  EXPECT_EQ(FileErrorText(EWOULDBLOCK, "a"), "A locking violation occurred while accessing a.");
  // Where no sentence of ours fits, the system's own text says what went wrong.
#ifdef _WIN32
  std::string readOnly = FileErrorText(EROFS, "e.avi");
  EXPECT_TRUE(readOnly.ends_with(" while accessing e.avi.") && !readOnly.starts_with("An unknown"))
      << readOnly;
  EXPECT_EQ(FileErrorText(ENOTCONN, "a"), "An unknown error occurred while accessing a.");
#else
  EXPECT_EQ(FileErrorText(EROFS, "e.avi"), "Read-only file system while accessing e.avi.");
  EXPECT_EQ(FileErrorText(ENOTCONN, "a"), "Transport endpoint is not connected while accessing a.");
#endif
  EXPECT_EQ(FileErrorText(99999, "a"), "An unknown error occurred while accessing a.");
  EXPECT_EQ(FileErrorText(0, "a"), "No error occurred.");
}

TEST(FileErrorTextTest, NamesTheFileWithinLimits) {
  EXPECT_EQ(FileErrorText(ENOENT, ""), "an unnamed file was not found.");
  std::string longPath(2000, 'x');
  EXPECT_EQ(FileErrorText(ENOENT, longPath), std::string(1023, 'x') + " was not found.");
}

} // namespace
} // namespace reelcraft
