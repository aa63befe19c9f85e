// SPDX-License-Identifier: MIT
#include "engine/picture_window.h"
#include "tests/support/files.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace reelcraft {
namespace {

using test::Bytes;

// A picture to the scanner: start marker, `length` - 4 bytes of `fill`, end marker.
Bytes Picture(size_t length, uint8_t fill = 0x11) {
  Bytes picture(length, fill);
  picture[0] = picture[length - 2] = 0xFF;
  picture[1] = 0xD8;
  picture[length - 1] = 0xD9;
  return picture;
}

class PictureWindowTest : public ::testing::Test {
protected:
  // Writes `dataOffset` bytes of header space, then `parts` one after another.
  void WriteStream(uint32_t dataOffset, std::initializer_list<Bytes> parts) {
    offset = dataOffset;
    Bytes file(dataOffset, 0xEE);
    for (const auto &part : parts)
      file.insert(file.end(), part.begin(), part.end());
    test::WriteFileBytes(dir / "stream", file);
    ASSERT_TRUE(input.OpenForReading(dir / "stream"));
  }
  bool Begin(uint32_t dataSize) { return window.Begin(input, offset, dataSize, picture); }

  test::TempDir dir;
  RawFile input;
  PictureWindow window;
  PictureBytes picture;
  // What the window holds as its picture in hand.
  Bytes held() const { return Bytes(picture.begin(), picture.end()); }
  uint32_t offset = 0;
};

constexpr size_t kWindow = PictureWindow::kWindowSize;

TEST_F(PictureWindowTest, WalksPicturesFromTheDataOffset) {
  Bytes first = Picture(100), second = Picture(300, 0x22);
  WriteStream(512, {Bytes(7, 0), first, Bytes(5, 0), second});
  ASSERT_TRUE(Begin(412));
  EXPECT_EQ(held(), first);
  EXPECT_EQ(window.pos(), 107u);
  EXPECT_EQ(window.loaded(), kWindow);
  ASSERT_TRUE(window.Next(picture));
  EXPECT_EQ(held(), second);
  EXPECT_EQ(window.ProgressValue(), kWindow + 412);
  EXPECT_FALSE(window.AtEnd());
  EXPECT_FALSE(window.Next(picture));
  EXPECT_EQ(held(), second) << "a failed search keeps the picture in hand";
}

TEST_F(PictureWindowTest, SlidesByWholeBlocksPastHalfTheWindow) {
  struct Case {
    size_t firstLength;
    size_t expectedPos; // after the next picture of 1000 bytes
    uint64_t expectedLoaded;
  };
  for (Case c : {Case{102401, 1 + 1000, kWindow + 102400}, Case{102400, 102400 + 1000, kWindow},
                 Case{150000, 496 + 1000, kWindow + 149504}}) {
    Bytes second = Picture(1000, 0x33);
    WriteStream(0, {Picture(c.firstLength), second, Bytes(300000, 0)});
    ASSERT_TRUE(Begin(1000000));
    ASSERT_EQ(window.pos(), c.firstLength);
    ASSERT_TRUE(window.Next(picture)) << c.firstLength;
    EXPECT_EQ(held(), second) << c.firstLength;
    EXPECT_EQ(window.pos(), c.expectedPos) << c.firstLength;
    EXPECT_EQ(window.loaded(), c.expectedLoaded) << c.firstLength;
  }
}

TEST_F(PictureWindowTest, ReadsAheadWhileLoadedIsBelowOffsetPlusSize) {
  // From offset 512, the first window ends at 204800 loaded. The data area's end compared
  // with it includes the offset: a size of 204288 allows no slide, 204289 does.
  Bytes second = Picture(150000, 0x44);
  for (uint32_t dataSize : {204288u, 204289u}) {
    WriteStream(512, {Picture(110000), second});
    ASSERT_TRUE(Begin(dataSize));
    bool slid = dataSize == 204289u;
    EXPECT_EQ(window.Next(picture), slid) << dataSize;
    EXPECT_EQ(window.loaded(), slid ? kWindow + 109568 : kWindow) << dataSize;
  }
}

TEST_F(PictureWindowTest, StopsSlidingOnceTheDataAreaIsLoaded) {
  WriteStream(
      512, {Picture(60000), Picture(60000), Picture(60000), Picture(60000), Picture(60000, 0x55)});
  ASSERT_TRUE(Begin(300000));
  ASSERT_TRUE(window.Next(picture));
  EXPECT_EQ(window.loaded(), kWindow);
  ASSERT_TRUE(window.Next(picture));
  EXPECT_EQ(window.loaded(), kWindow + 119808);
  EXPECT_EQ(window.pos(), 192u + 60000);
  ASSERT_TRUE(window.Next(picture));
  ASSERT_TRUE(window.Next(picture));
  EXPECT_EQ(held(), Picture(60000, 0x55));
  EXPECT_EQ(window.loaded(), kWindow + 119808) << "loaded 324608 is past 300512: no slide";
  EXPECT_EQ(window.ProgressValue(), 324608u + 180192);
}

TEST_F(PictureWindowTest, PictureEndingAtTheWindowEdgeEndsTheWalk) {
  Bytes last = Picture(kWindow - 100000, 0x66);
  WriteStream(0, {Picture(100000), last, Picture(1000)});
  ASSERT_TRUE(Begin(kWindow + 1000));
  ASSERT_FALSE(window.AtEnd());
  ASSERT_TRUE(window.Next(picture)) << "no slide: pos is 100000";
  EXPECT_EQ(held(), last);
  EXPECT_EQ(window.pos(), kWindow);
  EXPECT_TRUE(window.AtEnd());
}

TEST_F(PictureWindowTest, BytesPastTheEndOfTheFileAreNeverSearched) {
  // Three slides' worth of stream ending early: after the last slide the buffer's tail still
  // holds the first window, where a whole picture lies; it must not come back.
  Bytes repeated = Picture(10000, 0x77);
  WriteStream(0, {Picture(110000), repeated, Picture(100000), Bytes(94368, 0)});
  ASSERT_TRUE(Begin(1000000));
  ASSERT_TRUE(window.Next(picture));
  EXPECT_EQ(held(), repeated);
  ASSERT_TRUE(window.Next(picture));
  EXPECT_EQ(window.pos(), 110432u);
  EXPECT_FALSE(window.Next(picture));
  EXPECT_EQ(window.loaded(), kWindow + 109568 + 110080);
}

TEST_F(PictureWindowTest, ShortFileFindsWhatItHolds) {
  Bytes only = Picture(5000);
  WriteStream(35, {only});
  ASSERT_TRUE(Begin(5000));
  EXPECT_EQ(held(), only);
  EXPECT_FALSE(window.Next(picture));

  WriteStream(35, {Bytes(20, 0)});
  EXPECT_FALSE(Begin(20));
}

TEST_F(PictureWindowTest, WalksAStreamManyTimesTheWindowLong) {
  // Pictures of many sizes from an odd offset: windows straddle every read and the buffer's end.
  std::vector<Bytes> pictures;
  Bytes stream;
  for (size_t i = 0; stream.size() < 6 * kWindow * 5; ++i) {
    pictures.push_back(Picture(1000 + (i * 37813) % 99000, uint8_t(i)));
    stream.insert(stream.end(), pictures.back().begin(), pictures.back().end());
    stream.insert(stream.end(), i % 3, 0);
  }
  WriteStream(35, {stream});
  ASSERT_TRUE(Begin(uint32_t(stream.size())));
  for (size_t i = 0; i < pictures.size(); ++i) {
    ASSERT_EQ(held(), pictures[i]) << i;
    ASSERT_EQ(window.Next(picture), i + 1 < pictures.size()) << i;
  }
}

} // namespace
} // namespace reelcraft
