// SPDX-License-Identifier: MIT
#include "cli/console_messages.h"
#include "tests/support/files.h"
#include "tests/support/scripted_messages.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace reelcraft {
namespace {

TEST(ScriptedMessages, RecordsTextsAndAnswersQuestionsFromItsQueue) {
  ScriptedMessages messages;
  messages.QueueAnswer(MessageAnswer::Yes);
  EXPECT_EQ(messages.Show("plain", MessageButtons::Ok, MessageIcon::Exclamation),
            MessageAnswer::Ok);
  EXPECT_EQ(messages.Show("first?", MessageButtons::YesNo, MessageIcon::Question),
            MessageAnswer::Yes);
  EXPECT_EQ(messages.Show("second?", MessageButtons::YesNo, MessageIcon::Question),
            MessageAnswer::No);
  ASSERT_EQ(messages.shown().size(), 3u);
  EXPECT_EQ(messages.shown()[1].icon, MessageIcon::Question);
  EXPECT_EQ(messages.texts()[2], "second?");
}

TEST(ConsoleMessages, WritesOnePrefixedBlockAndNeverSaysYes) {
  test::TempDir dir;
  std::FILE *out = std::fopen((dir / "messages.txt").c_str(), "wb");
  ASSERT_NE(out, nullptr);
  ConsoleMessages messages("clip.qvj", out);
  EXPECT_EQ(messages.Show("Failed to find JPEG\n", MessageButtons::Ok, MessageIcon::Exclamation),
            MessageAnswer::Ok);
  EXPECT_EQ(messages.Show("Replace?", MessageButtons::YesNo, MessageIcon::Question),
            MessageAnswer::No);
  // Control characters, C1 controls in UTF-8 and stray bytes are shown, never obeyed; letters
  // of any script stay.
  messages.Show("\x1b[2J\tT\xc3\xa9l\xc3\xa9\xe2\x82\xac\xc2\x9b\xff\xe2\x82\x7f\xed\xa0\x80",
                MessageButtons::Ok, MessageIcon::Exclamation);
  std::fclose(out);
  test::Bytes written = test::ReadFileBytes(dir / "messages.txt");
  EXPECT_EQ(std::string(written.begin(), written.end()),
            "clip.qvj: Failed to find JPEG\nclip.qvj: Replace?\n"
            "clip.qvj: \\x1b[2J\\x09T\xc3\xa9l\xc3\xa9\xe2\x82\xac\\xc2\\x9b\\xff\\xe2\\x82"
            "\\x7f\\xed\\xa0\\x80\n");
}

} // namespace
} // namespace reelcraft
