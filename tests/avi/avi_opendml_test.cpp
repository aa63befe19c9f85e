// SPDX-License-Identifier: MIT
#include "avi/avi_file.h"
#include "tests/avi/avi_test_streams.h"
#include "tests/support/avi_probe.h"
#include "tests/support/riff_tree.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace reelcraft::test {
namespace {

constexpr uint64_t kPartLimit = 64 << 10;
constexpr int kFrames = 150;

AviWriterOptions SmallParts() {
  AviWriterOptions options;
  options.riffPartLimit = kPartLimit;
  return options;
}

// Checks the RIFF parts: "AVI " first, then "AVIX" ones, each within the limit unless it holds
// a single chunk that is larger, each with the standard indexes of the streams it holds.
void ExpectParts(const RiffChunk &root, int streams) {
  ASSERT_GE(root.children.size(), 3u);
  for (size_t i = 0; i < root.children.size(); ++i) {
    const RiffChunk &part = root.children[i];
    EXPECT_EQ(part.id, "RIFF");
    EXPECT_EQ(part.listType, i == 0 ? "AVI " : "AVIX");
    const RiffChunk &movi = part.Child("movi");
    int indexes = movi.Count("ix00") + movi.Count("ix01");
    EXPECT_GE(indexes, 1);
    EXPECT_LE(indexes, streams);
    if (part.size + 8 > kPartLimit) {
      EXPECT_EQ(movi.children.size(), size_t(1 + indexes));
    }
  }
}

TEST(AviOpenDml, LongFileGoesOnInAvixPartsAndReadsWhole) {
  REELCRAFT_NEEDS_TOOLS(Tool::Cjpeg);
  TempDir dir;
  std::string path = dir / "long.avi";
  std::vector<Bytes> frames = Pictures(kFrames);
  ASSERT_TRUE(WriteMjpgFile(path, frames, 30, SmallParts()));

  RiffChunk root = ParseRiffFile(path);
  ExpectParts(root, 1);
  const RiffChunk &first = root.children[0];
  const RiffChunk &hdrl = first.Child("hdrl");
  int firstPartFrames = first.Child("movi").Count("00dc");
  EXPECT_LT(firstPartFrames, kFrames);
  EXPECT_EQ(hdrl.Child("avih").U32(16), uint32_t(firstPartFrames));
  EXPECT_EQ(hdrl.Child("odml").Child("dmlh").U32(0), uint32_t(kFrames));
  EXPECT_EQ(first.Child("idx1").size, uint32_t(firstPartFrames) * 16);
  const RiffChunk &indx = hdrl.Child("strl").Child("indx");
  ASSERT_EQ(indx.U32(4), root.children.size());
  for (size_t i = 0; i < root.children.size(); ++i)
    EXPECT_EQ(indx.U64(24 + 16 * i), root.children[i].Child("movi").Child("ix00").offset);

  // As the independent tools read it back.
  REELCRAFT_NEEDS_PICTURE_TOOLS();
  ProbedFile probed = ProbeFile(path);
  ASSERT_TRUE(probed.ok);
  ASSERT_EQ(probed.streams.size(), 1u);
  EXPECT_EQ(probed.streams[0].packets, kFrames);
  EXPECT_EQ(PacketMd5s(path, "0:v"), Md5Hexes(frames));
  EXPECT_EQ(DecodeErrors(path), "");
}

class AviOpenDmlSound : public testing::TestWithParam<size_t> {};

TEST_P(AviOpenDmlSound, SoundAddedAfterTheFramesFollowsTheLastPart) {
  REELCRAFT_NEEDS_TOOLS(Tool::Cjpeg);
  TempDir dir;
  std::string path = dir / "long-sound.avi";
  std::vector<Bytes> frames = Pictures(kFrames);
  Bytes audio = Sound(GetParam());
  ASSERT_TRUE(WriteMjpgFile(dir / "frames.avi", frames, 30, SmallParts()));
  size_t partsBefore = ParseRiffFile(dir / "frames.avi").children.size();
  ASSERT_TRUE(WriteMjpgFile(path, frames, 30, SmallParts(), [&](AviFile &file) {
    return AddPcmStream(file, audio, {2, 8000, 16});
  }));

  RiffChunk root = ParseRiffFile(path);
  ExpectParts(root, 2);
  bool fitsLastPart = audio.size() < kPartLimit / 4;
  EXPECT_EQ(root.children.size(), partsBefore + (fitsLastPart ? 0 : 1));
  const RiffChunk &hdrl = root.children[0].Child("hdrl");
  EXPECT_EQ(hdrl.Child("odml").Child("dmlh").U32(0), uint32_t(kFrames));
  EXPECT_EQ(hdrl.Child("strl", 0).Child("indx").U32(4), partsBefore);
  EXPECT_EQ(hdrl.Child("strl", 1).Child("indx").U32(4), 1u);

  // As the independent tools read it back.
  REELCRAFT_NEEDS_PICTURE_TOOLS();
  ProbedFile probed = ProbeFile(path);
  ASSERT_TRUE(probed.ok);
  ASSERT_EQ(probed.streams.size(), 2u);
  EXPECT_EQ(probed.streams[0].packets, kFrames);
  EXPECT_EQ(probed.streams[1].codecName, "pcm_s16le");
  EXPECT_EQ(PacketMd5s(path, "0:v"), Md5Hexes(frames));
  EXPECT_TRUE(StreamBytes(path, "0:a") == audio);
  EXPECT_EQ(DecodeErrors(path), "");
}

INSTANTIATE_TEST_SUITE_P(SoundSizes, AviOpenDmlSound, testing::Values(4000, 200000));

} // namespace
} // namespace reelcraft::test
