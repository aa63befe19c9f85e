#include "engine/convert_clip.h"
#include "platform/scripted_messages.h"
#include "tests/support/avi_probe.h"
#include "tests/support/clip_builder.h"
#include "tests/support/recording_progress.h"
#include "tests/support/temp_dir.h"

#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>

namespace reelcraft {
namespace {

using test::Bytes;
namespace fs = std::filesystem;

// Eight-bit unsigned mono samples of a tone.
Bytes TonePcm8(size_t samples) {
  Bytes pcm(samples);
  for (size_t i = 0; i < samples; ++i)
    pcm[i] = uint8_t(128 + std::lround(100 * std::sin(double(i) * 0.07)));
  return pcm;
}

// Sixteen-bit signed little-endian stereo frames: a tone left, a slower one right.
Bytes TonePcm16Stereo(size_t frames) {
  Bytes pcm;
  for (size_t i = 0; i < frames; ++i) {
    for (double speed : {0.05, 0.013}) {
      auto sample = int16_t(std::lround(20000 * std::sin(double(i) * speed)));
      pcm.push_back(uint8_t(sample & 0xFF));
      pcm.push_back(uint8_t(uint16_t(sample) >> 8));
    }
  }
  return pcm;
}

test::ClipSpec ClipWithSound(int pictures, Bytes pcm, uint16_t channels = 1,
                             uint16_t bitsPerSample = 8) {
  test::ClipSpec spec;
  spec.pictures = test::MakePictures(pictures);
  spec.audio = test::ClipAudio{};
  spec.audio->pcm = std::move(pcm);
  spec.audio->channels = channels;
  spec.audio->bitsPerSample = bitsPerSample;
  return spec;
}

class ConvertClipTest : public ::testing::Test {
protected:
  ConvertClipTest() {
    fs::create_directory(tempFolder);
    options.tempFolder = tempFolder;
  }

  int Convert(const test::ClipSpec &spec, const ProgressControl *with = nullptr) {
    built = test::WriteClip(clip, spec);
    return ConvertClip(clip, target, with, cancelFlag, messages, options);
  }

  // The video stream first, every picture one frame, byte for byte.
  void ExpectVideo(const std::vector<Bytes> &pictures, size_t streams) {
    test::ProbedFile probed = test::ProbeFile(target);
    ASSERT_TRUE(probed.ok);
    ASSERT_EQ(probed.streams.size(), streams);
    EXPECT_EQ(probed.streams[0].codecType, "video");
    EXPECT_EQ(probed.streams[0].packets, int64_t(pictures.size()));
    EXPECT_EQ(test::PacketMd5s(target, "0:v"), test::Md5Hexes(pictures));
  }

  // The sound stream second, with the format and the exact bytes of the clip's sound.
  void ExpectSound(const std::string &codec, int rate, int channels) {
    test::ProbedFile probed = test::ProbeFile(target);
    ASSERT_EQ(probed.streams.size(), 2u);
    EXPECT_EQ(probed.streams[1].codecType, "audio");
    EXPECT_EQ(probed.streams[1].codecName, codec);
    EXPECT_EQ(probed.streams[1].sampleRate, rate);
    EXPECT_EQ(probed.streams[1].channels, channels);
    EXPECT_EQ(test::StreamBytes(target, "0:a"), built.sound);
  }

  std::vector<std::string> TempFilesLeft() const {
    std::vector<std::string> names;
    for (const auto &entry : fs::directory_iterator(tempFolder))
      names.push_back(entry.path().filename().string());
    return names;
  }

  test::TempDir dir;
  std::string clip = dir / "clip.qvj";
  std::string target = dir / "clip.avi";
  std::string tempFolder = dir / "tmp";
  ConvertOptions options;
  test::BuiltClip built;
  ScriptedMessages messages;
  CancelFlag cancelFlag{0};
  test::RecordingProgress progress;
  ProgressControl control = progress.control();
};

TEST_F(ConvertClipTest, ClipWithoutSoundGivesOneVideoStream) {
  test::ClipSpec spec;
  spec.pictures = test::MakePictures(4);
  EXPECT_NE(Convert(spec, &control), 0);
  ExpectVideo(spec.pictures, 1);
  EXPECT_TRUE(messages.shown().empty());
  EXPECT_TRUE(TempFilesLeft().empty());
}

TEST_F(ConvertClipTest, EightBitMonoSoundFollowsTheVideo) {
  test::ClipSpec spec = ClipWithSound(6, TonePcm8(5000));
  spec.audio->sampleRate = 11025;
  EXPECT_NE(Convert(spec, &control), 0);
  ExpectVideo(spec.pictures, 2);
  ExpectSound("pcm_u8", 11025, 1);
  EXPECT_TRUE(messages.shown().empty());
  EXPECT_TRUE(TempFilesLeft().empty());
}

TEST_F(ConvertClipTest, SixteenBitStereoSoundFollowsTheVideo) {
  test::ClipSpec spec = ClipWithSound(5, TonePcm16Stereo(12000), 2, 16);
  spec.audio->sampleRate = 22050;
  spec.audio->pictureBlocksPerAudioBlock = 1;
  spec.audio->endWithAudio = true;
  EXPECT_NE(Convert(spec), 0);
  ExpectVideo(spec.pictures, 2);
  ExpectSound("pcm_s16le", 22050, 2);
  EXPECT_TRUE(TempFilesLeft().empty());
}

TEST_F(ConvertClipTest, UnreadableHeaderLeavesTargetAndFlagAlone) {
  test::WriteFileBytes(target, Bytes{1, 2, 3});
  test::WriteFileBytes(clip, Bytes(34, 'Q'));
  cancelFlag = 1;
  EXPECT_EQ(ConvertClip(clip, target, &control, cancelFlag, messages, options), 0);
  EXPECT_EQ(ConvertClip(dir / "missing.qvj", target, &control, cancelFlag, messages, options), 0);
  EXPECT_EQ(cancelFlag, 1);
  EXPECT_EQ(test::ReadFileBytes(target), (Bytes{1, 2, 3}));
  EXPECT_EQ(messages.texts(),
            (std::vector<std::string>{"Failed to read file header",
                                      "Could not open source file:\n" + (dir / "missing.qvj") +
                                          " was not found."}));
  EXPECT_TRUE(progress.calls().empty());
}

} // namespace
} // namespace reelcraft
