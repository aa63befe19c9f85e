// SPDX-License-Identifier: MIT
#include "avi/avi_file.h"
#include "tests/avi/avi_test_streams.h"
#include "tests/support/avi_probe.h"
#include "tests/support/riff_tree.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace reelcraft::test {
namespace {

struct PcmCase {
  PcmFormat pcm;
  const char *codec;
  size_t bytes; // past the writer's buffer, so the sound comes through it in pieces
};

class AviAppend : public testing::TestWithParam<PcmCase> {};

TEST_P(AviAppend, AStreamAddedAfterTheFramesTakesItsPcmInOneChunkAfterThem) {
  REELCRAFT_NEEDS_TOOLS(Tool::Cjpeg);
  const PcmCase &c = GetParam();
  TempDir dir;
  std::string path = dir / "sound.avi";
  std::vector<Bytes> frames = Pictures(7);
  Bytes audio = Sound(c.bytes);
  ASSERT_TRUE(WriteMjpgFile(path, frames, 30, {},
                            [&](AviFile &f) { return AddPcmStream(f, audio, c.pcm); }));

  const RiffChunk riff = ParseRiffFile(path).Child("RIFF");
  const RiffChunk &hdrl = riff.Child("hdrl");
  EXPECT_EQ(hdrl.Child("avih").U32(24), 2u);
  EXPECT_EQ(hdrl.Child("avih").U32(28), c.bytes);
  const RiffChunk &strl = hdrl.Child("strl", 1);
  uint32_t blockAlign = c.pcm.channels * c.pcm.bitsPerSample / 8;
  const RiffChunk &strh = strl.Child("strh");
  EXPECT_EQ(strh.U32(0), MakeFourCC("auds"));
  EXPECT_EQ(strh.U32(4), MakeFourCC("WAVE"));
  EXPECT_EQ(strh.U32(20), blockAlign);
  EXPECT_EQ(strh.U32(24), c.pcm.sampleRate * blockAlign);
  EXPECT_EQ(strh.U32(32), c.bytes / blockAlign);
  EXPECT_EQ(strh.U32(36), c.bytes);
  EXPECT_EQ(strh.U32(44), blockAlign);
  EXPECT_EQ(strl.Child("strf").data, WaveFormat(c.pcm));
  const RiffChunk &strn = strl.Child("strn");
  EXPECT_EQ(strn.size, 15u);
  EXPECT_EQ(std::string(strn.data.begin(), strn.data.end()), std::string("Test Animation", 15));

  const RiffChunk &movi = riff.Child("movi");
  ASSERT_EQ(movi.children.size(), 10u); // frames, sound, the two standard indexes
  EXPECT_EQ(movi.children[7].id, "01wb");
  EXPECT_EQ(movi.children[8].id, "ix00");
  EXPECT_EQ(movi.children[9].id, "ix01");
  const RiffChunk &idx1 = riff.Child("idx1");
  ASSERT_EQ(idx1.size, 8u * 16);
  EXPECT_EQ(idx1.U32(7 * 16), MakeFourCC("01wb"));
  EXPECT_EQ(idx1.U32(7 * 16 + 4), AVIIF_KEYFRAME);
  EXPECT_EQ(movi.offset + 8 + idx1.U32(7 * 16 + 8), movi.children[7].offset);

  // As the independent tools read it back.
  REELCRAFT_NEEDS_PICTURE_TOOLS();
  ProbedFile probed = ProbeFile(path);
  ASSERT_TRUE(probed.ok);
  ASSERT_EQ(probed.streams.size(), 2u);
  EXPECT_EQ(probed.streams[0].codecName, "mjpeg");
  EXPECT_EQ(probed.streams[0].packets, 7);
  const ProbedStream &sound = probed.streams[1];
  EXPECT_EQ(sound.codecType, "audio");
  EXPECT_EQ(sound.codecName, c.codec);
  EXPECT_EQ(sound.sampleRate, int(c.pcm.sampleRate));
  EXPECT_EQ(sound.channels, c.pcm.channels);
  EXPECT_EQ(sound.bitsPerSample, c.pcm.bitsPerSample);
  EXPECT_EQ(PacketMd5s(path, "0:v"), Md5Hexes(frames));
  EXPECT_TRUE(StreamBytes(path, "0:a") == audio);
  EXPECT_EQ(DecodeErrors(path), "");
}

INSTANTIATE_TEST_SUITE_P(Pcm, AviAppend,
                         testing::Values(PcmCase{{1, 8000, 8}, "pcm_u8", 1500001},
                                         PcmCase{{2, 11025, 16}, "pcm_s16le", 1200000}));

TEST(AviAppendEdges, EmptySoundStillMakesAStream) {
  REELCRAFT_NEEDS_PICTURE_TOOLS();
  TempDir dir;
  std::string path = dir / "silent.avi";
  std::vector<Bytes> frames = Pictures(3);
  ASSERT_TRUE(WriteMjpgFile(path, frames, 30, {}, [&](AviFile &f) {
    return AddPcmStream(f, {}, {1, 8000, 8});
  }));

  ProbedFile probed = ProbeFile(path);
  ASSERT_TRUE(probed.ok);
  ASSERT_EQ(probed.streams.size(), 2u);
  EXPECT_EQ(probed.streams[1].codecName, "pcm_u8");
  EXPECT_EQ(PacketMd5s(path, "0:v"), Md5Hexes(frames));
}

TEST(AviAppendEdges, HeaderRoomTakesOneStreamMoreAndRefusesTheNext) {
  REELCRAFT_NEEDS_PICTURE_TOOLS();
  TempDir dir;
  std::string path = dir / "full.avi";
  std::vector<Bytes> frames = Pictures(3);
  Bytes audio = Sound(4000);
  ASSERT_TRUE(WriteMjpgFile(path, frames, 30, {}, [&](AviFile &f) {
    bool added = AddPcmStream(f, audio, {1, 8000, 8});
    EXPECT_EQ(f.CreateStream(PcmStreamInfo({1, 8000, 8}, 10)), -1);
    return added;
  }));
  ASSERT_TRUE(ProbeFile(path).ok);
  EXPECT_EQ(PacketMd5s(path, "0:v"), Md5Hexes(frames));
  EXPECT_TRUE(StreamBytes(path, "0:a") == audio);
}

} // namespace
} // namespace reelcraft::test
