// SPDX-License-Identifier: MIT
#include "cli/clip_progress.h"
#include "cli/progress_display.h"
#include "cli/status_line.h"

#include "tests/support/files.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>
#include <thread>

namespace reelcraft {
namespace {

TEST(StatusLineTest, ShowsClipsShareSpeedTimeLeftAndClipsInHand) {
  StatusSnapshot snapshot{3,     10,   12.34e6, {{"street.qvj", 0.456}, {"garden.qvj", 1.2}},
                          0.4e9, 2.0e9};
  EXPECT_EQ(StatusLine(snapshot, 200),
            "3/10 clips  20%  12.3 MB/s  2:10 left  street.qvj 45%  garden.qvj 100%");
  EXPECT_EQ(StatusLine({0, 1, 0, {}, 0, 5000}, 80), "0/1 clips  0%  0 B/s");
  EXPECT_EQ(StatusLine({0, 1, 0, {}}, 80), "0/1 clips  0 B/s");
  EXPECT_EQ(TimeLeftText(0), "0:00 left");
  EXPECT_EQ(TimeLeftText(44.2), "0:45 left");
  EXPECT_EQ(TimeLeftText(3723), "1:02:03 left");
}

TEST(StatusLineTest, NeverFillsTheLastColumn) {
  StatusSnapshot snapshot{0, 2, 1e6, {{"a-rather-long-clip-name.qvj", 0.5}}};
  EXPECT_EQ(StatusLine(snapshot, 20), "0/2 clips  1.00 MB/");
  EXPECT_EQ(StatusLine(snapshot, 1), "");
  // A name in UTF-8 is cut between characters, counted as one column each.
  snapshot.inHand = {{"\xc3\xa9t\xc3\xa9.qvj", 0}};
  EXPECT_EQ(StatusLine(snapshot, 28), "0/2 clips  1.00 MB/s  \xc3\xa9t\xc3\xa9.q");
  EXPECT_EQ(StatusLine(snapshot, 24), "0/2 clips  1.00 MB/s  \xc3\xa9");
}

TEST(StatusLineTest, ByteRatesInDecimalUnits) {
  EXPECT_EQ(ByteRateText(0), "0 B/s");
  EXPECT_EQ(ByteRateText(999), "999 B/s");
  EXPECT_EQ(ByteRateText(999.7), "1.00 kB/s");
  EXPECT_EQ(ByteRateText(45678), "45.7 kB/s");
  EXPECT_EQ(ByteRateText(123456789), "123 MB/s");
  EXPECT_EQ(ByteRateText(2.5e9), "2.50 GB/s");
}

TEST(ClipProgressTest, OneFillOverTheClipThatTheSoundLeavesFull) {
  ClipProgress progress;
  EXPECT_EQ(progress.Fraction(), 0);
  progress.SetPhase(ConversionPhase::Pictures);
  progress.SetRange(0, 1000);
  progress.SetStep(1);
  progress.SetPosition(0);
  EXPECT_EQ(progress.Fraction(), 0);
  progress.SetPosition(250);
  EXPECT_DOUBLE_EQ(progress.Fraction(), 0.25);
  progress.SetPosition(204800); // reads run past a small range
  EXPECT_EQ(progress.Fraction(), 1);
  progress.SetPhase(ConversionPhase::Sound);
  EXPECT_EQ(progress.Fraction(), 1);
}

TEST(ProgressDisplayTest, CountsClipsAndBytesOfClipsInHand) {
  ProgressDisplay display(ProgressStyle::None, nullptr, {3, 5000}, 2);
  ClipProgress first, second;
  display.Started(0, "dir/first.qvj", 1000, first);
  display.Started(1, "second.qvj", 4000, second);
  second.SetRange(0, 100);
  second.SetPosition(50);
  StatusSnapshot snapshot = display.Snapshot();
  EXPECT_EQ(snapshot.done, 0u);
  EXPECT_EQ(snapshot.total, 3u);
  ASSERT_EQ(snapshot.inHand.size(), 2u);
  EXPECT_EQ(snapshot.inHand[0].name, "first.qvj");
  EXPECT_EQ(snapshot.inHand[1].fraction, 0.5);
  display.Finished(0, "dir/first.qvj", {ClipState::Converted});
  snapshot = display.Snapshot();
  EXPECT_EQ(snapshot.done, 1u);
  ASSERT_EQ(snapshot.inHand.size(), 1u);
  EXPECT_EQ(snapshot.inHand[0].name, "second.qvj");
  EXPECT_GT(snapshot.bytesPerSecond, 0);
  EXPECT_EQ(snapshot.bytesDone, 3000);
  EXPECT_EQ(snapshot.bytesTotal, 5000);
}

TEST(ProgressDisplayTest, MessagesPushTheLineAsideAndNothingStaysBehind) {
  test::TempDir dir;
  std::FILE *terminal = std::fopen((dir / "terminal").c_str(), "w+b");
  ASSERT_TRUE(terminal);
  {
    ProgressDisplay display(ProgressStyle::Terminal, terminal, {2, 100}, 1);
    // The line comes a few times a second; wait for the first without timing anything.
    while (std::ftell(terminal) == 0)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    display.Interject([&] { std::fputs("clip.qvj: a message\n", terminal); });
  }
  std::fclose(terminal);
  test::Bytes bytes = test::ReadFileBytes(dir / "terminal");
  std::string text(bytes.begin(), bytes.end());
  EXPECT_TRUE(text.starts_with("\r\033[K0/2 clips  0%  ")) << text;
  std::string message = "\r\033[Kclip.qvj: a message\n";
  auto at = text.find(message);
  ASSERT_NE(at, std::string::npos) << text;
  std::string after = text.substr(at + message.size());
  EXPECT_TRUE(after.empty() || after.ends_with("\r\033[K")) << after;
}

} // namespace
} // namespace reelcraft
