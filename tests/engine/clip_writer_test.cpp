// SPDX-License-Identifier: MIT
#include "engine/clip_writer.h"
#include "tests/support/avi_probe.h"
#include "tests/support/clip_builder.h"
#include "tests/support/md5.h"
#include "tests/support/recording_progress.h"
#include "tests/support/scripted_messages.h"
#include "tests/support/temp_dir.h"

#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>

namespace reelcraft {
namespace {

using test::Bytes;

class ClipWriterTest : public ::testing::Test {
protected:
  // The cases that read the AVI file back with ffprobe and ffmpeg say so themselves.
  void SetUp() override { REELCRAFT_NEEDS_TOOLS(test::Tool::Cjpeg); }

  // Builds the clip, then writes its pictures as an AVI file at `target`.
  ConversionResult Convert(const test::ClipSpec &spec, const ProgressControl *control = nullptr,
                           const ConvertOptions &options = {}) {
    built = test::WriteClip(clip, spec);
    ClipHeader header;
    EXPECT_TRUE(ReadClipHeader(clip, header, messages));
    return WriteClipAvi(clip, target, control, cancelFlag, header, messages, options);
  }

  // The frames of `target` as ffmpeg reads them, and their rate.
  void ExpectFrames(const std::vector<Bytes> &pictures, const std::string &rate = "15/1") {
    test::ProbedFile probed = test::ProbeFile(target);
    ASSERT_TRUE(probed.ok);
    ASSERT_EQ(probed.streams.size(), 1u);
    EXPECT_EQ(probed.streams[0].codecName, "mjpeg");
    EXPECT_EQ(probed.streams[0].rFrameRate, rate);
    EXPECT_EQ(probed.streams[0].packets, int64_t(pictures.size()));
    EXPECT_EQ(test::PacketMd5s(target, "0:v"), test::Md5Hexes(pictures));
  }

  static std::vector<Bytes> First(const std::vector<Bytes> &pictures, size_t count) {
    return {pictures.begin(), pictures.begin() + long(count)};
  }

  test::TempDir dir;
  std::string clip = dir / "clip.qvj";
  std::string target = dir / "clip.avi";
  test::BuiltClip built;
  ScriptedMessages messages;
  CancelFlag cancelFlag{0};
  test::RecordingProgress progress;
  ProgressControl control = progress.control();
};

TEST_F(ClipWriterTest, EveryPictureBecomesOneKeyFrameByteForByte) {
  REELCRAFT_NEEDS_PICTURE_TOOLS();
  test::ClipSpec spec;
  spec.pictures = test::MakePictures(5);
  spec.gaps = {Bytes(300, 0x00), {}, Bytes{0xFF, 0xD9, 0x12}, Bytes(1000, 0xFF)};
  spec.trailing = Bytes(50, 0xAA);
  ASSERT_EQ(Convert(spec).state, ConversionState::Done);
  ExpectFrames(spec.pictures);
  EXPECT_TRUE(messages.shown().empty());
  test::ProbedFile probed = test::ProbeFile(target);
  EXPECT_EQ(probed.streams[0].width, 320);
  EXPECT_EQ(probed.streams[0].height, 240);
  EXPECT_EQ(test::DecodeErrors(target), "");
}

TEST_F(ClipWriterTest, StreamRateIsHalfTheFrameRateField) {
  REELCRAFT_NEEDS_PICTURE_TOOLS();
  test::ClipSpec spec;
  spec.pictures = test::MakePictures(3, 160, 120);
  spec.width = 160;
  spec.height = 120;
  spec.frameRate = 25;
  spec.dataOffset = 35;
  ASSERT_EQ(Convert(spec).state, ConversionState::Done);
  ExpectFrames(spec.pictures, "25/2");
}

TEST_F(ClipWriterTest, LongClipsSlideTheWindowWithoutLosingBytes) {
  REELCRAFT_NEEDS_PICTURE_TOOLS();
  test::ClipSpec spec;
  spec.pictures = test::MakePictures(40, 640, 480);
  for (int i = 0; i < 40; ++i)
    spec.gaps.push_back(Bytes(size_t(i * 97 % 700), uint8_t(i)));
  ASSERT_GT(test::BuildClip(spec).file.size(), 4 * 204800u);
  ASSERT_EQ(Convert(spec, &control).state, ConversionState::Done);
  ExpectFrames(spec.pictures);
  EXPECT_TRUE(messages.shown().empty());
}

TEST_F(ClipWriterTest, FrameCountDecidesHowManyFrames) {
  REELCRAFT_NEEDS_PICTURE_TOOLS();
  std::vector<Bytes> five = test::MakePictures(5);
  for (uint16_t frameCount : {0, 1, 3}) {
    test::ClipSpec spec;
    spec.pictures = five;
    spec.frameCount = frameCount;
    ConversionResult result = Convert(spec);
    EXPECT_EQ(result.state, ConversionState::Done) << frameCount;
    EXPECT_EQ(result.picturesWritten, std::max<uint32_t>(frameCount, 1));
    EXPECT_EQ(result.picturesExpected, result.picturesWritten);
    ExpectFrames(First(five, std::max<size_t>(frameCount, 1)));
  }
  EXPECT_TRUE(messages.shown().empty());
}

TEST_F(ClipWriterTest, PicturesRunningOutBeforeTheFrameCountEndTheFileEarly) {
  REELCRAFT_NEEDS_PICTURE_TOOLS();
  test::ClipSpec spec;
  spec.pictures = test::MakePictures(3);
  spec.frameCount = 5;
  ConversionResult result = Convert(spec, &control);
  EXPECT_EQ(result.state, ConversionState::Incomplete) << "the AVI is kept, but it is no whole";
  EXPECT_EQ(result.picturesWritten, 3u);
  EXPECT_EQ(result.picturesExpected, 5u);
  ExpectFrames(spec.pictures);
  EXPECT_EQ(messages.texts(), std::vector<std::string>{"Failed to find JPEG\n"});
}

TEST_F(ClipWriterTest, ProgressRangeTheClipThenItsBytesReadAfterEachRead) {
  test::ClipSpec spec;
  spec.pictures = test::MakePictures(4);
  spec.gaps = {Bytes(10, 0)};
  ASSERT_EQ(Convert(spec, &control).state, ConversionState::Done);
  std::string length = std::to_string(built.file.size());
  std::vector<std::string> expected = {"range 0 " + length, "step 1", "pos 0", "pump",
                                       "pos " + length};
  for (size_t i = 1; i < 4; ++i)
    expected.insert(expected.end(), {"pump", "pos " + length});
  EXPECT_EQ(progress.calls(), expected);
  EXPECT_EQ(progress.phases(), std::vector<std::string>{"pictures 0"});
}

TEST_F(ClipWriterTest, CancelBeforeTheStartIsCleared) {
  REELCRAFT_NEEDS_PICTURE_TOOLS();
  test::ClipSpec spec;
  spec.pictures = test::MakePictures(4);
  cancelFlag = 1;
  ASSERT_EQ(Convert(spec).state, ConversionState::Done);
  EXPECT_EQ(cancelFlag, 0);
  ExpectFrames(spec.pictures);
}

TEST_F(ClipWriterTest, CancelIsSeenBeforeTheNextPicture) {
  REELCRAFT_NEEDS_PICTURE_TOOLS();
  test::ClipSpec spec;
  spec.pictures = test::MakePictures(5);
  // Set before the first picture is found: no AVI file at all.
  progress.OnCall([&](const std::string &call) {
    if (call == "pos 0")
      cancelFlag = 1;
  });
  EXPECT_EQ(Convert(spec, &control).state, ConversionState::Cancelled);
  EXPECT_FALSE(std::filesystem::exists(target));
  EXPECT_EQ(cancelFlag, 1);

  // Set inside the second pump, which follows the second picture.
  int pumps = 0;
  progress.OnCall([&](const std::string &call) {
    if (call == "pump" && ++pumps == 2)
      cancelFlag = 1;
  });
  ConversionResult result = Convert(spec, &control);
  EXPECT_EQ(result.state, ConversionState::Cancelled);
  EXPECT_EQ(result.picturesWritten, 2u);
  ExpectFrames(First(spec.pictures, 2));
  EXPECT_TRUE(messages.shown().empty());
}

TEST_F(ClipWriterTest, FailuresBeforeTheFirstFrameLeaveNoFile) {
  ClipHeader header;
  header.frameCount = 3;
  EXPECT_EQ(WriteClipAvi(dir / "missing.qvj", target, &control, cancelFlag, header, messages).state,
            ConversionState::Failed);
  test::ClipSpec spec;
  spec.pictures = {Bytes(5000, 0x42)};
  ConversionResult result = Convert(spec, &control);
  ASSERT_TRUE(result.failure);
  EXPECT_TRUE(result.failure->told) << "the messages said why";
  EXPECT_EQ(messages.texts(),
            (std::vector<std::string>{"Could not open input file:\n" + (dir / "missing.qvj") +
                                          " was not found.",
                                      "Failed to find first JPEG"}));
  EXPECT_FALSE(std::filesystem::exists(target));
}

TEST_F(ClipWriterTest, AviFileThatCannotBeCreatedFailsWithItsPlaceAndReason) {
  test::ClipSpec spec;
  spec.pictures = test::MakePictures(2);
  target = dir / "no-such-folder/clip.avi";
  ConversionResult result = Convert(spec, &control);
  EXPECT_EQ(result.state, ConversionState::Failed);
  ASSERT_TRUE(result.failure);
  EXPECT_EQ(result.failure->kind, FailureKind::AviNotWritten);
  EXPECT_EQ(result.failure->file.path, target);
  EXPECT_EQ(result.failure->file.error, ENOENT);
  EXPECT_FALSE(result.failure->told);
  EXPECT_TRUE(messages.shown().empty());
}

TEST_F(ClipWriterTest, WriterOptionsReachTheAviFile) {
  REELCRAFT_NEEDS_PICTURE_TOOLS();
  test::ClipSpec spec;
  spec.pictures = test::MakePictures(30, 640, 480);
  ConvertOptions options;
  options.avi.riffPartLimit = 256 * 1024;
  ASSERT_EQ(Convert(spec, nullptr, options).state, ConversionState::Done);
  ExpectFrames(spec.pictures);
  Bytes file = test::ReadFileBytes(target);
  std::string text(file.begin(), file.end());
  EXPECT_NE(text.find("AVIX"), std::string::npos) << "a small part limit continues in AVIX";
}

TEST(VideoRecordsTest, StreamInfoAndPictureFormatFromTheHeader) {
  ClipHeader header;
  header.width = 320;
  header.height = 240;
  header.frameRate = 25;
  AviStreamInfo info = VideoStreamInfo(header);
  EXPECT_EQ(info.fccType, 0x73646976u);
  EXPECT_EQ(info.fccHandler, 0x47504A4Du);
  EXPECT_EQ(info.dwScale, 2u);
  EXPECT_EQ(info.dwRate, 25u);
  EXPECT_EQ(info.dwLength, 1u);
  EXPECT_EQ(info.dwQuality, 0xFFFFFFFFu);
  EXPECT_EQ(info.rcFrame.right, 320);
  EXPECT_EQ(info.rcFrame.bottom, 240);
  EXPECT_EQ(info.szName, "Video");
  header.frameRate = 0;
  EXPECT_EQ(VideoStreamInfo(header).dwRate, 0u) << "a rate of 0 is handed on as it is";

  auto bytes = Serialize(VideoFormat(header));
  std::array<uint8_t, 40> expected = {40, 0, 0, 0, 0x40, 1, 0,   0,   0xF0, 0,
                                      0,  0, 1, 0, 24,   0, 'M', 'J', 'P',  'G'};
  EXPECT_EQ(bytes, expected);
}

} // namespace
} // namespace reelcraft
