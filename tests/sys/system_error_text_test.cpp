#include "sys/system_error_text.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace reelcraft {
namespace {

TEST(SystemErrorText, KnownCodeReplacesTheCallersTextAndUnknownCodesLeaveIt) {
  std::string text = "before";
  SystemErrorText(ENOENT, text);
  EXPECT_EQ(text, "No such file or directory");

  for (uint32_t unknown : {99999u, 0x80000000u, 0xFFFFFFFFu}) {
    std::string kept = "caller's text";
    SystemErrorText(unknown, kept);
    EXPECT_EQ(kept, "caller's text") << unknown;
  }
}

} // namespace
} // namespace reelcraft
