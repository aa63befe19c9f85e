// SPDX-License-Identifier: MIT
#include "avi/avi_file.h"
#include "tests/avi/avi_test_streams.h"
#include "tests/support/avi_probe.h"
#include "tests/support/riff_tree.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace reelcraft::test {
namespace {

std::string Text(const Bytes &bytes) { return std::string(bytes.begin(), bytes.end()); }

uint32_t Largest(const std::vector<Bytes> &frames) {
  size_t largest = 0;
  for (const Bytes &frame : frames)
    largest = std::max(largest, frame.size());
  return uint32_t(largest);
}

TEST(AviVideo, FramesComeBackByteForByteAtRateOverScale) {
  REELCRAFT_NEEDS_PICTURE_TOOLS();
  TempDir dir;
  std::vector<Bytes> frames = Pictures(12);
  ASSERT_TRUE(std::any_of(frames.begin(), frames.end(), [](const Bytes &frame) {
    return frame.size() % 2 == 1;
  })) << "an odd-sized picture is needed to check the padding";
  struct Case {
    uint32_t rate;
    const char *frameRate;
  };
  for (Case c : {Case{30, "15/1"}, Case{25, "25/2"}}) {
    std::string path = dir / ("rate" + std::to_string(c.rate) + ".avi");
    ASSERT_TRUE(WriteMjpgFile(path, frames, c.rate));

    ProbedFile probed = ProbeFile(path);
    ASSERT_TRUE(probed.ok);
    EXPECT_EQ(probed.formatName, "avi");
    ASSERT_EQ(probed.streams.size(), 1u);
    const ProbedStream &video = probed.streams[0];
    EXPECT_EQ(video.codecType, "video");
    EXPECT_EQ(video.codecName, "mjpeg");
    EXPECT_EQ(video.width, 64);
    EXPECT_EQ(video.height, 48);
    EXPECT_EQ(video.rFrameRate, c.frameRate);
    EXPECT_EQ(video.packets, 12);
    EXPECT_EQ(PacketMd5s(path, "0:v"), Md5Hexes(frames));
    EXPECT_EQ(DecodeErrors(path), "");
  }
}

TEST(AviHeaders, RecordsIndexesAndChunksAreLaidOutFieldByField) {
  REELCRAFT_NEEDS_TOOLS(Tool::Cjpeg);
  TempDir dir;
  std::string path = dir / "headers.avi";
  std::vector<Bytes> frames = Pictures(5);
  {
    auto file = AviFile::Create(path);
    ASSERT_TRUE(file);
    ASSERT_EQ(file->CreateStream(MjpgStreamInfo(30, 64, 48)), 0);
    Bytes format = BitmapInfoHeader(64, 48);
    ASSERT_TRUE(file->SetFormat(0, format.data(), format.size()));
    for (uint32_t i = 0; i < 5; ++i)
      ASSERT_TRUE(file->Write(0, i, 1, frames[i].data(), uint32_t(frames[i].size()),
                              i == 2 ? 0 : AVIIF_KEYFRAME));
    ASSERT_TRUE(file->Release());
  }

  RiffChunk root = ParseRiffFile(path);
  ASSERT_EQ(root.children.size(), 1u);
  const RiffChunk &riff = root.children[0];
  EXPECT_EQ(riff.id, "RIFF");
  EXPECT_EQ(riff.listType, "AVI ");
  EXPECT_EQ(uint64_t(riff.size) + 8, root.size);
  ASSERT_EQ(riff.children.size(), 4u);
  EXPECT_EQ(riff.children[0].listType, "hdrl");
  EXPECT_EQ(riff.children[0].offset, 12u);
  EXPECT_EQ(riff.children[1].id, "JUNK");
  EXPECT_EQ(riff.children[2].listType, "movi");
  EXPECT_EQ(riff.children[3].id, "idx1");

  const RiffChunk &hdrl = riff.Child("hdrl");
  const RiffChunk &avih = hdrl.Child("avih");
  ASSERT_EQ(avih.size, 56u);
  EXPECT_EQ(avih.U32(0), 66666u); // 1e6 * 2 / 30
  EXPECT_EQ(avih.U32(12), 0x10u); // AVIF_HASINDEX
  EXPECT_EQ(avih.U32(16), 5u);
  EXPECT_EQ(avih.U32(24), 1u);
  EXPECT_EQ(avih.U32(28), Largest(frames));
  EXPECT_EQ(avih.U32(32), 64u);
  EXPECT_EQ(avih.U32(36), 48u);

  const RiffChunk &strl = hdrl.Child("strl");
  const RiffChunk &strh = strl.Child("strh");
  ASSERT_EQ(strh.size, 56u);
  EXPECT_EQ(strh.U32(0), MakeFourCC("vids"));
  EXPECT_EQ(strh.U32(4), MakeFourCC("MJPG"));
  EXPECT_EQ(strh.U32(8), 0u);
  EXPECT_EQ(strh.U32(20), 2u);  // scale
  EXPECT_EQ(strh.U32(24), 30u); // rate
  EXPECT_EQ(strh.U32(28), 0u);  // start
  EXPECT_EQ(strh.U32(32), 5u);  // length: every sample written, past the given 1
  EXPECT_EQ(strh.U32(36), Largest(frames));
  EXPECT_EQ(strh.U32(40), 0xFFFFFFFFu);
  EXPECT_EQ(strh.U32(44), 0u);
  EXPECT_EQ(strh.U16(48), 0);
  EXPECT_EQ(strh.U16(50), 0);
  EXPECT_EQ(strh.U16(52), 64);
  EXPECT_EQ(strh.U16(54), 48);
  EXPECT_EQ(strl.Child("strf").data, BitmapInfoHeader(64, 48));
  EXPECT_EQ(Text(strl.Child("strn").data), std::string("Video", 6));

  const RiffChunk &movi = riff.Child("movi");
  ASSERT_EQ(movi.children.size(), 6u);
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(movi.children[i].id, "00dc");
    EXPECT_EQ(movi.children[i].data, frames[i]);
    EXPECT_EQ(movi.children[i].offset % 2, 0u);
  }
  const RiffChunk &ix = movi.Child("ix00");
  EXPECT_EQ(ix.U16(0), 2);
  EXPECT_EQ(ix.data[3], 1); // an index of chunks
  ASSERT_EQ(ix.U32(4), 5u);
  EXPECT_EQ(ix.U32(8), MakeFourCC("00dc"));
  uint64_t base = ix.U64(12);
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(base + ix.U32(24 + 8 * i) - 8, movi.children[i].offset);
    EXPECT_EQ(ix.U32(28 + 8 * i), frames[i].size() | (i == 2 ? 0x80000000u : 0));
  }

  const RiffChunk &indx = strl.Child("indx");
  EXPECT_EQ(indx.U16(0), 4);
  EXPECT_EQ(indx.data[3], 0); // an index of indexes
  ASSERT_EQ(indx.U32(4), 1u);
  EXPECT_EQ(indx.U32(8), MakeFourCC("00dc"));
  EXPECT_EQ(indx.U64(24), ix.offset);
  EXPECT_EQ(indx.U32(32), ix.size + 8);
  EXPECT_EQ(indx.U32(36), 5u);

  const RiffChunk &dmlh = hdrl.Child("odml").Child("dmlh");
  EXPECT_EQ(dmlh.size, 248u);
  EXPECT_EQ(dmlh.U32(0), 5u);

  const RiffChunk &idx1 = riff.Child("idx1");
  ASSERT_EQ(idx1.size, 5u * 16);
  uint64_t moviCode = movi.offset + 8;
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(idx1.U32(16 * i), MakeFourCC("00dc"));
    EXPECT_EQ(idx1.U32(16 * i + 4), i == 2 ? 0u : AVIIF_KEYFRAME);
    EXPECT_EQ(moviCode + idx1.U32(16 * i + 8), movi.children[i].offset);
    EXPECT_EQ(idx1.U32(16 * i + 12), frames[i].size());
  }

  // As the independent tools read it back.
  REELCRAFT_NEEDS_PICTURE_TOOLS();
  EXPECT_TRUE(ProbeFile(path).ok);
}

TEST(AviHeaders, RateZeroGivesNoFrameTime) {
  REELCRAFT_NEEDS_TOOLS(Tool::Cjpeg);
  TempDir dir;
  std::string path = dir / "still.avi";
  std::vector<Bytes> frames = Pictures(3);
  ASSERT_TRUE(WriteMjpgFile(path, frames, 0));
  EXPECT_EQ(ParseRiffFile(path).Child("RIFF").Child("hdrl").Child("avih").U32(0), 0u);
  REELCRAFT_NEEDS_PICTURE_TOOLS();
  EXPECT_EQ(PacketMd5s(path, "0:v"), Md5Hexes(frames));
}

TEST(AviFailures, CreateRefusesAFolderThatIsNotThere) {
  TempDir dir;
  EXPECT_FALSE(AviFile::Create(dir / "missing/x.avi"));
}

TEST(AviFailures, FailedSourceTakesItsChunkBackAndTheFileStaysWhole) {
  REELCRAFT_NEEDS_PICTURE_TOOLS();
  TempDir dir;
  std::string path = dir / "source.avi";
  std::vector<Bytes> frames = Pictures(2);
  auto file = AviFile::Create(path);
  ASSERT_TRUE(file);
  ASSERT_EQ(file->CreateStream(MjpgStreamInfo(30, 64, 48)), 0);
  Bytes format = BitmapInfoHeader(64, 48);
  ASSERT_TRUE(file->SetFormat(0, format.data(), format.size()));
  // The frames around the failed chunk wait, in place, to be written with it.
  ASSERT_TRUE(
      file->WriteInPlace(0, 0, 1, frames[0].data(), uint32_t(frames[0].size()), AVIIF_KEYFRAME));
  size_t calls = 0;
  auto failing = [&](void *, size_t) { return ++calls < 3; };
  EXPECT_FALSE(file->WriteFrom(0, 1, 1, 3 << 20, AVIIF_KEYFRAME, failing));
  EXPECT_EQ(calls, 3u);
  ASSERT_TRUE(
      file->WriteInPlace(0, 1, 1, frames[1].data(), uint32_t(frames[1].size()), AVIIF_KEYFRAME));
  EXPECT_FALSE(file->Write(1, 2, 1, frames[1].data(), uint32_t(frames[1].size()), 0));
  ASSERT_TRUE(file->Release());
  EXPECT_FALSE(file->Release());

  EXPECT_EQ(PacketMd5s(path, "0:v"), Md5Hexes(frames));
  EXPECT_LT(std::filesystem::file_size(path), 100000u);
}

TEST(AviFailures, WriteErrorFailsEveryLaterCallAndTheRelease) {
  if (!std::filesystem::exists("/dev/full"))
    GTEST_SKIP() << "no /dev/full";
  auto file = AviFile::Create("/dev/full");
  ASSERT_TRUE(file);
  ASSERT_EQ(file->CreateStream(MjpgStreamInfo(30, 64, 48)), 0);
  Bytes big(3 << 20, 0x55);
  file->Write(0, 0, 1, big.data(), uint32_t(big.size()), AVIIF_KEYFRAME);
  Bytes small(10, 1);
  EXPECT_FALSE(file->Write(0, 1, 1, small.data(), uint32_t(small.size()), AVIIF_KEYFRAME));
  EXPECT_EQ(file->CreateStream(MjpgStreamInfo(30, 64, 48)), -1);
  EXPECT_FALSE(file->Release());

  file = AviFile::Create("/dev/full"); // the failure of a write of chunks given in place
  ASSERT_EQ(file->CreateStream(MjpgStreamInfo(30, 64, 48)), 0);
  EXPECT_TRUE(file->WriteInPlace(0, 0, 1, small.data(), uint32_t(small.size()), AVIIF_KEYFRAME));
  EXPECT_FALSE(file->WriteOutInPlace());
  EXPECT_FALSE(file->Release());
}

} // namespace
} // namespace reelcraft::test
