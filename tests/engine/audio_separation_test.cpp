// SPDX-License-Identifier: MIT
#include "engine/audio_separation.h"
#include "engine/audio_stream.h"
#include "tests/support/files.h"
#include "tests/support/recording_progress.h"
#include "tests/support/scripted_messages.h"
#include "tests/support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace reelcraft {
namespace {

using test::Bytes;

// A 512-byte block that begins with `first` and is otherwise filled with `fill`.
Bytes Block(Bytes first, uint8_t fill, size_t size = 512) {
  first.resize(size, fill);
  return first;
}

void Append(Bytes &to, const Bytes &more) { to.insert(to.end(), more.begin(), more.end()); }

class SeparationTest : public ::testing::Test {
protected:
  // Writes `dataOffset` bytes of header room, then `blocks`, and separates them.
  bool Separate(uint16_t dataOffset, const std::vector<Bytes> &blocks,
                const ProgressControl *with = nullptr) {
    Bytes file(dataOffset, 0x5A);
    for (const Bytes &block : blocks)
      Append(file, block);
    fileSize = file.size();
    test::WriteFileBytes(clip, file);
    return SeparateBlocks(clip, dataOffset, pictures, audio, with, cancelFlag, messages, result);
  }

  test::TempDir dir;
  std::string clip = dir / "clip.qvj";
  std::string pictures = dir / "pictures.tmp";
  std::string audio = dir / "audio.tmp";
  size_t fileSize = 0;
  ScriptedMessages messages;
  CancelFlag cancelFlag{0};
  ConversionResult result;
  test::RecordingProgress progress;
  ProgressControl control = progress.control();
};

TEST_F(SeparationTest, OnlyTheFullFfFfMarkMakesAnAudioBlockAndItsMarkIsReplaced) {
  Bytes marked = Block({0xFF, 0xFF, 0x80}, 0x11);
  Bytes ffZero = Block({0xFF, 0x00}, 0x22);
  Bytes zeroFf = Block({0x00, 0xFF}, 0x33);
  Bytes marked2 = Block({0xFF, 0xFF, 0x07, 0x08}, 0x44);
  ASSERT_TRUE(Separate(35, {marked, ffZero, zeroFf, marked2}));

  Bytes expectedSound = Block({0x80, 0x80, 0x80}, 0x11);
  Append(expectedSound, Block({0x07, 0x07, 0x07, 0x08}, 0x44));
  EXPECT_EQ(test::ReadFileBytes(audio), expectedSound);
  Bytes expectedPictures = ffZero;
  Append(expectedPictures, zeroFf);
  EXPECT_EQ(test::ReadFileBytes(pictures), expectedPictures);
  EXPECT_TRUE(messages.shown().empty());
}

TEST_F(SeparationTest, ShortFinalBlocks) {
  struct Case {
    Bytes last;
    bool audio;
  };
  for (const Case &c :
       {Case{{0xFF, 0xFF}, false}, Case{{0xFF}, false}, Case{{0xFF, 0xFF, 0x42}, true},
        Case{Block({0xFF, 0xFF, 9}, 1, 300), true}}) {
    Bytes picture = Block({0x00}, 0x66);
    ASSERT_TRUE(Separate(512, {picture, c.last}));
    Bytes expectedPictures = picture;
    Bytes expectedSound;
    Bytes replaced = c.last;
    if (c.audio) {
      replaced[0] = replaced[1] = replaced[2];
      expectedSound = replaced;
    } else {
      Append(expectedPictures, c.last);
    }
    EXPECT_EQ(test::ReadFileBytes(pictures), expectedPictures) << c.last.size();
    EXPECT_EQ(test::ReadFileBytes(audio), expectedSound) << c.last.size();
  }
}

TEST_F(SeparationTest, GridRunsOnAcrossChunksFromTheDataOffset) {
  // 450 blocks: chunks of 200, 200 and 50; audio blocks on both sides of each chunk edge.
  std::vector<Bytes> blocks;
  Bytes expectedPictures, expectedSound;
  for (int i = 0; i < 450; ++i) {
    bool isAudio = i % 3 == 0 || i == 199 || i == 200 || i == 401;
    uint8_t fill = uint8_t(i * 7 + 1);
    if (isAudio) {
      blocks.push_back(Block({0xFF, 0xFF, uint8_t(i)}, fill));
      Append(expectedSound, Block({uint8_t(i), uint8_t(i), uint8_t(i)}, fill));
    } else {
      blocks.push_back(Block({uint8_t(i & 0x7F)}, fill));
      Append(expectedPictures, blocks.back());
    }
  }
  blocks.back().resize(100); // the file ends inside the last block
  expectedPictures.resize(expectedPictures.size() - 412);
  ASSERT_TRUE(Separate(77, blocks, &control));
  EXPECT_EQ(test::ReadFileBytes(pictures), expectedPictures);
  EXPECT_EQ(test::ReadFileBytes(audio), expectedSound);

  std::vector<std::string> expected = {"range 0 " + std::to_string(fileSize), "step 512",
                                       "pos 512"};
  for (int i = 0; i < 450; ++i) {
    expected.push_back("pump");
    expected.push_back("stepit");
  }
  EXPECT_EQ(progress.calls(), expected);
}

TEST_F(SeparationTest, CancelEndsTheRunAfterTheChunkInHand) {
  std::vector<Bytes> blocks(500, Block({0x00}, 0x12));
  int pumps = 0;
  progress.OnCall([&](const std::string &call) {
    if (call == "pump" && ++pumps == 10)
      cancelFlag = 1;
  });
  ASSERT_TRUE(Separate(512, blocks, &control));
  EXPECT_EQ(test::ReadFileBytes(pictures).size(), 102400u);
  EXPECT_EQ(pumps, 200);
  EXPECT_EQ(cancelFlag, 1);
}

TEST_F(SeparationTest, FilesThatCannotBeOpenedAreNamedInTheirMessage) {
  std::string missing = dir / "none/file.tmp";
  EXPECT_FALSE(SeparateBlocks(dir / "missing.qvj", 0, pictures, audio, &control, cancelFlag,
                              messages, result));
  test::WriteFileBytes(clip, Bytes(600, 0));
  EXPECT_FALSE(SeparateBlocks(clip, 0, pictures, missing, &control, cancelFlag, messages, result));
  EXPECT_FALSE(SeparateBlocks(clip, 0, missing, audio, &control, cancelFlag, messages, result));
  EXPECT_EQ(messages.texts(),
            (std::vector<std::string>{
                "Could not open input file:\n" + (dir / "missing.qvj") + " was not found.",
                "Could not open temp audio file:\n" + missing + " was not found.",
                "Could not open temp video file:\n" + missing + " was not found."}));
  EXPECT_TRUE(progress.calls().empty());
}

TEST_F(SeparationTest, ReadErrorIsNotTakenForTheEndOfTheClip) {
  // The process's own memory reads fail where nothing is mapped, as low addresses are not.
  if (!std::filesystem::exists("/proc/self/mem"))
    GTEST_SKIP() << "no /proc/self/mem";
  EXPECT_FALSE(SeparateBlocks("/proc/self/mem", 512, pictures, audio, nullptr, cancelFlag, messages,
                              result));
  EXPECT_EQ(messages.texts(),
            std::vector<std::string>{"Could not read /proc/self/mem:\nInput/output error"});
}

TEST(AudioRecordsTest, FormatAndStreamFromTheHeader) {
  ClipHeader header;
  header.sampleRate = 8000;
  header.channels = 2;
  header.bitsPerSample = 16;
  WaveFormatEx format = AudioFormat(header);
  EXPECT_EQ(format.wFormatTag, 1);
  EXPECT_EQ(format.nBlockAlign, 4);
  EXPECT_EQ(format.nAvgBytesPerSec, 32000u);
  AviStreamInfo info = AudioStreamInfo(format, 64000);
  EXPECT_EQ(info.fccType, 0x73647561u);
  EXPECT_EQ(info.fccHandler, 0x45564157u);
  EXPECT_EQ(info.dwScale, 4u);
  EXPECT_EQ(info.dwRate, 32000u);
  EXPECT_EQ(info.dwLength, 16000u);
  EXPECT_EQ(info.dwSampleSize, 4u);
  EXPECT_EQ(info.dwQuality, 0xFFFFFFFFu);
  EXPECT_EQ(info.szName, "Test Animation");

  header.channels = 1;
  header.bitsPerSample = 8;
  EXPECT_EQ(AudioStreamInfo(AudioFormat(header), 12345).dwLength, 12345u);

  // Fields that give no whole byte per sample, also after the cut to 16 bits.
  for (auto [channels, bits] : {std::pair{0, 16}, {2, 0}, {1, 4}, {2048, 256}}) {
    header.channels = uint16_t(channels);
    header.bitsPerSample = uint16_t(bits);
    EXPECT_EQ(AudioFormat(header).nBlockAlign, 0) << channels << " " << bits;
  }
}

} // namespace
} // namespace reelcraft
