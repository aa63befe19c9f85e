// SPDX-License-Identifier: MIT
#include "engine/audio_stream.h"
#include "engine/clip_blocks.h"
#include "tests/support/files.h"
#include "tests/support/recording_progress.h"
#include "tests/support/temp_dir.h"

#include <algorithm>
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

class GatheredSound final : public SoundBlockSink {
public:
  bool Take(const uint8_t *sound, size_t size) override {
    bytes.insert(bytes.end(), sound, sound + size);
    return bytes.size() <= refuseAfter;
  }
  Bytes bytes;
  size_t refuseAfter = SIZE_MAX;
};

class ClipBlocksTest : public ::testing::Test {
protected:
  // Writes `dataOffset` bytes of header room, then `blocks`, and reads the picture stream in
  // reads of `readSize` bytes, as a window asks for them, the sound going to `sound`.
  bool Sort(uint16_t dataOffset, const std::vector<Bytes> &blocks, size_t readSize = 1000,
            const ProgressControl *with = nullptr) {
    Bytes file(dataOffset, 0x5A);
    for (const Bytes &block : blocks)
      Append(file, block);
    fileSize = file.size();
    test::WriteFileBytes(clip, file);
    return SortFile(clip, dataOffset, readSize, with);
  }

  bool SortFile(const std::string &path, uint16_t dataOffset, size_t readSize,
                const ProgressControl *with = nullptr) {
    RawFile file;
    EXPECT_TRUE(file.OpenForReading(path));
    ClipBlockReader reader(file, dataOffset, &sound, &timeline, with);
    EXPECT_TRUE(reader.Seek(0));
    pictures.clear();
    Bytes buffer(readSize);
    for (size_t got = readSize; got == readSize;) {
      got = reader.Read(buffer.data(), readSize);
      pictures.insert(pictures.end(), buffer.begin(), buffer.begin() + long(got));
    }
    return !reader.Failed();
  }

  test::TempDir dir;
  std::string clip = dir / "clip.qvj";
  size_t fileSize = 0;
  Bytes pictures;
  GatheredSound sound;
  SoundTimeline timeline;
  test::RecordingProgress progress;
  ProgressControl control = progress.control();
};

TEST_F(ClipBlocksTest, OnlyTheFullFfFfMarkMakesAnAudioBlockAndItsMarkIsReplaced) {
  Bytes marked = Block({0xFF, 0xFF, 0x80}, 0x11);
  Bytes ffZero = Block({0xFF, 0x00}, 0x22);
  Bytes zeroFf = Block({0x00, 0xFF}, 0x33);
  Bytes marked2 = Block({0xFF, 0xFF, 0x07, 0x08}, 0x44);
  ASSERT_TRUE(Sort(35, {marked, ffZero, zeroFf, marked2}));

  Bytes expectedSound = Block({0x80, 0x80, 0x80}, 0x11);
  Append(expectedSound, Block({0x07, 0x07, 0x07, 0x08}, 0x44));
  EXPECT_EQ(sound.bytes, expectedSound);
  Bytes expectedPictures = ffZero;
  Append(expectedPictures, zeroFf);
  EXPECT_EQ(pictures, expectedPictures);
  EXPECT_EQ(timeline.SoundBlocksBefore(0), 1u);
  EXPECT_EQ(timeline.SoundBlocksBefore(1023), 1u);
  EXPECT_EQ(timeline.SoundBlocksBefore(1024), 2u);
  EXPECT_EQ(timeline.ClipOffset(1000), 35u + 512 + 1000);
}

TEST_F(ClipBlocksTest, ShortFinalBlocks) {
  struct Case {
    Bytes last;
    bool audio;
  };
  for (const Case &c :
       {Case{{0xFF, 0xFF}, false}, Case{{0xFF}, false}, Case{{0xFF, 0xFF, 0x42}, true},
        Case{Block({0xFF, 0xFF, 9}, 1, 300), true}}) {
    sound.bytes.clear();
    Bytes picture = Block({0x00}, 0x66);
    ASSERT_TRUE(Sort(512, {picture, c.last}));
    Bytes expectedPictures = picture;
    Bytes expectedSound;
    Bytes replaced = c.last;
    if (c.audio) {
      replaced[0] = replaced[1] = replaced[2];
      expectedSound = replaced;
    } else {
      Append(expectedPictures, c.last);
    }
    EXPECT_EQ(pictures, expectedPictures) << c.last.size();
    EXPECT_EQ(sound.bytes, expectedSound) << c.last.size();
  }
}

// Reads of any size, across the pieces the clip is read in, keep the grid of the data offset;
// the bar follows the clip's bytes read, and the events are pumped with every piece.
TEST_F(ClipBlocksTest, GridRunsOnAcrossPiecesFromTheDataOffset) {
  // 1100 blocks: pieces of 512, 512 and 76; audio blocks on both sides of each piece edge.
  std::vector<Bytes> blocks;
  Bytes expectedPictures, expectedSound;
  for (int i = 0; i < 1100; ++i) {
    bool isAudio = i % 3 == 0 || i == 511 || i == 512 || i == 1024;
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
  for (size_t readSize : {size_t(1), size_t(511), size_t(4096), size_t(300000)}) {
    sound.bytes.clear();
    progress.Clear();
    ASSERT_TRUE(Sort(77, blocks, readSize, &control));
    EXPECT_EQ(pictures, expectedPictures) << readSize;
    EXPECT_EQ(sound.bytes, expectedSound) << readSize;
    std::vector<std::string> expected;
    for (size_t read : {size_t(262144), size_t(524288), fileSize - 77})
      expected.insert(expected.end(), {"pump", "pos " + std::to_string(77 + read)});
    EXPECT_EQ(progress.calls(), expected) << readSize;
  }
}

// After the pictures the rest of the clip is read for its sound alone; a sink that cannot keep
// the sound stops the reader, which the window takes for the end of what it can read.
TEST_F(ClipBlocksTest, TheRestOfTheSoundIsReadToTheEndAndARefusalStopsTheReader) {
  std::vector<Bytes> blocks;
  for (int i = 0; i < 2000; ++i)
    blocks.push_back(i % 2 ? Block({0xFF, 0xFF, uint8_t(i)}, 3) : Block({0x00}, 4));
  Bytes file(512, 0);
  for (const Bytes &block : blocks)
    Append(file, block);
  test::WriteFileBytes(clip, file);
  RawFile input;
  ASSERT_TRUE(input.OpenForReading(clip));
  ClipBlockReader reader(input, 512, &sound, nullptr, nullptr);
  ASSERT_TRUE(reader.Seek(0));
  Bytes buffer(700);
  EXPECT_EQ(reader.Read(buffer.data(), buffer.size()), 700u);
  CancelFlag cancel{0};
  EXPECT_TRUE(reader.ReadToEnd(cancel));
  EXPECT_EQ(sound.bytes.size(), 1000u * 512);
  EXPECT_EQ(reader.clipPosition(), file.size());

  sound.bytes.clear();
  sound.refuseAfter = 512 * 10;
  EXPECT_FALSE(SortFile(clip, 512, 4096));
  EXPECT_EQ(sound.bytes.size(), 512u * 11);
  EXPECT_EQ(pictures.size(), 512u * 11);
}

TEST_F(ClipBlocksTest, ReadErrorIsNotTakenForTheEndOfTheClip) {
  // The process's own memory reads fail where nothing is mapped, as low addresses are not.
  if (!std::filesystem::exists("/proc/self/mem"))
    GTEST_SKIP() << "no /proc/self/mem";
  EXPECT_FALSE(SortFile("/proc/self/mem", 512, 4096));
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

// Runs of evenly spaced blocks stand for every block: the counts are those of the blocks.
TEST(SoundTimelineTest, CountsAgreeWithEveryBlockListed) {
  const std::vector<std::vector<uint64_t>> layouts = {
      {},
      {0},
      {0, 0, 0, 1024},                      // blocks in a row, then the pattern
      {1024, 2048, 3072, 4096, 4608, 5120}, // the pattern changes after damage
      {512, 1536, 1537, 9000, 9000, 20000},
  };
  for (const auto &layout : layouts) {
    SoundTimeline timeline;
    for (uint64_t before : layout)
      timeline.Add(before, 512);
    EXPECT_EQ(timeline.soundBytes, layout.size() * 512);
    for (uint64_t offset = 0; offset < 21000; offset += 7) {
      auto expected = uint64_t(std::count_if(
          layout.begin(), layout.end(), [offset](uint64_t before) { return before <= offset; }));
      ASSERT_EQ(timeline.SoundBlocksBefore(offset), expected) << offset;
    }
  }
}

} // namespace
} // namespace reelcraft
