#include "platform/console_messages.h"
#include "platform/scripted_messages.h"

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
  char *buffer = nullptr;
  size_t size = 0;
  std::FILE *out = open_memstream(&buffer, &size);
  ASSERT_NE(out, nullptr);
  ConsoleMessages messages("clip.qvj", out);
  EXPECT_EQ(messages.Show("Failed to find JPEG\n", MessageButtons::Ok, MessageIcon::Exclamation),
            MessageAnswer::Ok);
  EXPECT_EQ(messages.Show("Replace?", MessageButtons::YesNo, MessageIcon::Question),
            MessageAnswer::No);
  std::fclose(out);
  EXPECT_EQ(std::string(buffer, size), "clip.qvj: Failed to find JPEG\nclip.qvj: Replace?\n");
  free(buffer);
}

} // namespace
} // namespace reelcraft
