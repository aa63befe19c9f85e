// SPDX-License-Identifier: MIT
#include "engine/convert_clip.h"
#include "engine/sound_store.h"
#include "tests/support/avi_probe.h"
#include "tests/support/clip_builder.h"
#include "tests/support/environment.h"
#include "tests/support/files.h"
#include "tests/support/recording_progress.h"
#include "tests/support/riff_tree.h"
#include "tests/support/scripted_messages.h"
#include "tests/support/temp_dir.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <set>
#include <sys/stat.h>
#include <utility>

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
  // The cases that read the AVI file back with ffprobe and ffmpeg say so themselves.
  void SetUp() override { REELCRAFT_NEEDS_TOOLS(test::Tool::Cjpeg); }

  ConvertClipTest() {
    fs::create_directory(tempFolder);
    options.tempFolder = tempFolder;
  }

  ConversionState Convert(const test::ClipSpec &spec, const ProgressControl *with = nullptr) {
    built = test::WriteClip(clip, spec);
    return ConvertClip(clip, target, with, cancelFlag, messages, options).state;
  }

  // The video stream first, every picture one frame, byte for byte.
  void ExpectVideo(const std::vector<Bytes> &pictures, size_t streams) {
    probed = test::ProbeFile(target);
    ASSERT_TRUE(probed.ok);
    ASSERT_EQ(probed.streams.size(), streams);
    EXPECT_EQ(probed.streams[0].codecType, "video");
    EXPECT_EQ(probed.streams[0].packets, int64_t(pictures.size()));
    EXPECT_EQ(test::PacketMd5s(target, "0:v"), test::Md5Hexes(pictures));
  }

  // After ExpectVideo: the sound stream second, with the format and the exact bytes of the
  // clip's sound.
  void ExpectSound(const std::string &codec, int rate, int channels) {
    ASSERT_EQ(probed.streams.size(), 2u);
    EXPECT_EQ(probed.streams[1].codecType, "audio");
    EXPECT_EQ(probed.streams[1].codecName, codec);
    EXPECT_EQ(probed.streams[1].sampleRate, rate);
    EXPECT_EQ(probed.streams[1].channels, channels);
    EXPECT_EQ(test::StreamBytes(target, "0:a"), built.sound);
  }

  std::set<std::string> TempFilesLeft() const { return test::FolderHolds(tempFolder); }

  test::TempDir dir;
  std::string clip = dir / "clip.qvj";
  std::string target = dir / "clip.avi";
  std::string tempFolder = dir / "tmp";
  ConvertOptions options;
  test::BuiltClip built;
  test::ProbedFile probed;
  ScriptedMessages messages;
  CancelFlag cancelFlag{0};
  test::RecordingProgress progress;
  ProgressControl control = progress.control();
};

TEST_F(ConvertClipTest, ClipWithoutSoundGivesOneVideoStream) {
  REELCRAFT_NEEDS_PICTURE_TOOLS();
  test::ClipSpec spec;
  spec.pictures = test::MakePictures(4);
  EXPECT_EQ(Convert(spec, &control), ConversionState::Done);
  ExpectVideo(spec.pictures, 1);
  EXPECT_TRUE(messages.shown().empty());
  EXPECT_TRUE(TempFilesLeft().empty());
}

TEST_F(ConvertClipTest, EightBitMonoSoundFollowsTheVideo) {
  REELCRAFT_NEEDS_PICTURE_TOOLS();
  test::ClipSpec spec = ClipWithSound(6, TonePcm8(5000));
  spec.audio->sampleRate = 11025;
  EXPECT_EQ(Convert(spec, &control), ConversionState::Done);
  ExpectVideo(spec.pictures, 2);
  ExpectSound("pcm_u8", 11025, 1);
  EXPECT_TRUE(messages.shown().empty());
  EXPECT_TRUE(TempFilesLeft().empty());
}

TEST_F(ConvertClipTest, SixteenBitStereoSoundFollowsTheVideo) {
  REELCRAFT_NEEDS_PICTURE_TOOLS();
  test::ClipSpec spec = ClipWithSound(5, TonePcm16Stereo(12000), 2, 16);
  spec.audio->sampleRate = 22050;
  spec.audio->pictureBlocksPerAudioBlock = 1;
  spec.audio->endWithAudio = true;
  EXPECT_EQ(Convert(spec), ConversionState::Done);
  ExpectVideo(spec.pictures, 2);
  ExpectSound("pcm_s16le", 22050, 2);
  EXPECT_TRUE(TempFilesLeft().empty());
}

// A clip that ends early is no success: the AVI keeps what was found, says how much, and carries
// the clip's date like any AVI.
TEST_F(ConvertClipTest, EarlyEndsAreIncompleteAndKeepWhatWasFound) {
  REELCRAFT_NEEDS_PICTURE_TOOLS();
  struct Case {
    const char *what;
    bool sound;
    Bytes damage; // in place of the pictures after the fifth
  };
  for (const Case &c : {Case{"zeros after a card recovery", false, Bytes(300000, 0)},
                        Case{"cut short", false, {}}, Case{"cut short, with sound", true, {}},
                        Case{"zeros, with sound", true, Bytes(300000, 0)}}) {
    test::ClipSpec spec = ClipWithSound(5, TonePcm8(4000));
    if (!c.sound)
      spec.audio.reset();
    spec.frameCount = 40;
    spec.trailing = c.damage;
    built = test::WriteClip(clip, spec);
    fs::last_write_time(clip, std::chrono::file_clock::from_sys(
                                  std::chrono::sys_seconds(std::chrono::seconds(1500000000))));
    ConversionResult result = ConvertClip(clip, target, &control, cancelFlag, messages, options);
    EXPECT_EQ(result.state, ConversionState::Incomplete) << c.what;
    EXPECT_EQ(result.picturesWritten, 5u) << c.what;
    EXPECT_EQ(result.picturesExpected, 40u) << c.what;
    ExpectVideo(spec.pictures, c.sound ? 2 : 1);
    if (c.sound)
      ExpectSound("pcm_u8", 8000, 1);
    EXPECT_EQ(fs::last_write_time(target), fs::last_write_time(clip)) << c.what;
  }
}

TEST_F(ConvertClipTest, UnreadableHeaderLeavesTargetAndFlagAlone) {
  test::WriteFileBytes(target, Bytes{1, 2, 3});
  test::WriteFileBytes(clip, Bytes(34, 'Q'));
  cancelFlag = 1;
  EXPECT_EQ(ConvertClip(clip, target, &control, cancelFlag, messages, options).state,
            ConversionState::Failed);
  EXPECT_EQ(ConvertClip(dir / "missing.qvj", target, &control, cancelFlag, messages, options).state,
            ConversionState::Failed);
  EXPECT_EQ(cancelFlag, 1);
  EXPECT_EQ(test::ReadFileBytes(target), (Bytes{1, 2, 3}));
  EXPECT_EQ(messages.texts(),
            (std::vector<std::string>{"Failed to read file header",
                                      "Could not open source file:\n" + (dir / "missing.qvj") +
                                          " was not found."}));
  EXPECT_TRUE(progress.calls().empty());
}

TEST_F(ConvertClipTest, SoundStreamRecordsFieldByFieldAndItsChunkLast) {
  test::ClipSpec spec = ClipWithSound(4, TonePcm16Stereo(16000), 2, 16);
  ASSERT_EQ(Convert(spec), ConversionState::Done);
  ASSERT_EQ(built.sound.size(), 64000u);
  test::RiffChunk riff = test::ParseRiffFile(target).Child("RIFF");
  const test::RiffChunk &hdrl = riff.Child("hdrl");
  EXPECT_EQ(hdrl.Child("avih").U32(24), 2u);
  ASSERT_EQ(hdrl.Count("strl"), 2);
  const test::RiffChunk &strl = hdrl.Child("strl", 1);
  const test::RiffChunk &strh = strl.Child("strh");
  EXPECT_EQ(strh.U32(0), MakeFourCC("auds"));
  EXPECT_EQ(strh.U32(4), MakeFourCC("WAVE"));
  EXPECT_EQ(strh.U32(20), 4u);     // scale: nBlockAlign
  EXPECT_EQ(strh.U32(24), 32000u); // rate: nAvgBytesPerSec
  EXPECT_EQ(strh.U32(28), 0u);
  EXPECT_EQ(strh.U32(32), 16000u); // length in samples
  EXPECT_EQ(strh.U32(36), 64000u); // the largest chunk: all the sound
  EXPECT_EQ(strh.U32(40), 0xFFFFFFFFu);
  EXPECT_EQ(strh.U32(44), 4u);
  for (size_t side = 48; side < 56; side += 2)
    EXPECT_EQ(strh.U16(side), 0);
  Bytes wave = {1, 0, 2, 0, 0x40, 0x1F, 0, 0, 0x00, 0x7D, 0, 0, 4, 0, 16, 0, 0, 0};
  EXPECT_EQ(strl.Child("strf").data, wave);
  const Bytes &name = strl.Child("strn").data;
  EXPECT_EQ(std::string(name.begin(), name.end()), std::string("Test Animation", 15));

  const test::RiffChunk &movi = riff.Child("movi");
  ASSERT_EQ(movi.Count("01wb"), 1);
  EXPECT_EQ(movi.Count("00dc"), 4);
  EXPECT_EQ(movi.Child("01wb").data, built.sound);
  EXPECT_GT(movi.Child("01wb").offset, movi.Child("00dc", 3).offset);
}

TEST_F(ConvertClipTest, SoundSpreadAcrossManyChunksKeepsItsGrid) {
  REELCRAFT_NEEDS_PICTURE_TOOLS();
  // Large pictures and a data offset off the block grid: chunks of 200 blocks end inside
  // pictures and between audio blocks.
  test::ClipSpec spec = ClipWithSound(0, TonePcm8(300000));
  spec.pictures = test::MakePictures(24, 640, 480);
  spec.width = 640;
  spec.height = 480;
  spec.dataOffset = 35;
  spec.audio->pictureBlocksPerAudioBlock = 3;
  spec.audio->sampleRate = 8000;
  ASSERT_GT(test::BuildClip(spec).file.size(), 6 * 102400u);
  EXPECT_EQ(Convert(spec, &control), ConversionState::Done);
  ExpectVideo(spec.pictures, 2);
  ExpectSound("pcm_u8", 8000, 1);
  EXPECT_EQ(test::DecodeErrors(target), "");
  EXPECT_TRUE(messages.shown().empty());
}

// One fill over the clip's bytes as they are read, the events pumped with every piece read and
// after every further picture; the sound comes after it.
TEST_F(ConvertClipTest, ProgressFillsOnceOverTheClipAsItIsRead) {
  test::ClipSpec spec = ClipWithSound(3, TonePcm8(700000));
  spec.pictures = test::MakePictures(3, 640, 480);
  ASSERT_EQ(Convert(spec, &control), ConversionState::Done);
  std::vector<std::string> bar = progress.bar();
  ASSERT_GE(bar.size(), 6u);
  EXPECT_EQ(std::vector<std::string>(bar.begin(), bar.begin() + 3),
            (std::vector<std::string>{"range 0 " + std::to_string(built.file.size()), "step 1",
                                      "pos 0"}));
  EXPECT_EQ(bar.back(), "pos " + std::to_string(built.file.size()));
  uint64_t last = 0, pieces = 0;
  for (size_t i = 3; i < bar.size(); ++i) {
    uint64_t at = std::stoull(bar[i].substr(4));
    EXPECT_GE(at, last) << i;
    EXPECT_LE(at - last, 256u * 1024 + 512) << "a piece at most between two reports";
    pieces += at > last;
    last = at;
  }
  EXPECT_GE(pieces, built.file.size() / (256 * 1024));
  EXPECT_EQ(progress.phases().size(), 2u);
  EXPECT_EQ(progress.phases()[0], "pictures 0");
  EXPECT_EQ(progress.phases()[1], "sound " + std::to_string(progress.calls().size()));
}

TEST_F(ConvertClipTest, ClipWithoutAudioBlocksGetsAnEmptySoundStream) {
  REELCRAFT_NEEDS_PICTURE_TOOLS();
  test::ClipSpec spec = ClipWithSound(3, {});
  spec.audio->channels = 2;
  spec.audio->bitsPerSample = 16;
  spec.audio->sampleRate = 16000;
  EXPECT_EQ(Convert(spec), ConversionState::Done);
  ExpectVideo(spec.pictures, 2);
  ExpectSound("pcm_s16le", 16000, 2);
  EXPECT_TRUE(built.sound.empty());
}

TEST_F(ConvertClipTest, MarksAreOnlyMeaningfulWhenTheHeaderSaysSound) {
  REELCRAFT_NEEDS_PICTURE_TOOLS();
  test::ClipSpec spec;
  spec.pictures = test::MakePictures(3);
  Bytes lookalike = {0xFF, 0xFF, 0x80};
  lookalike.resize(512, 0x80);
  spec.gaps = {lookalike, lookalike, lookalike};
  spec.dataOffset = 512;
  EXPECT_EQ(Convert(spec), ConversionState::Done);
  ExpectVideo(spec.pictures, 1);
}

TEST_F(ConvertClipTest, SoundWithoutWholeBytesPerSampleIsLeftOut) {
  REELCRAFT_NEEDS_PICTURE_TOOLS();
  for (auto [channels, bits] : {std::pair{0, 8}, {1, 4}, {2048, 256}}) {
    test::ClipSpec spec = ClipWithSound(3, TonePcm8(1500), uint16_t(channels), uint16_t(bits));
    EXPECT_EQ(Convert(spec), ConversionState::Done) << channels << " " << bits;
    ExpectVideo(spec.pictures, 1);
  }
  EXPECT_TRUE(messages.shown().empty());
  EXPECT_TRUE(TempFilesLeft().empty());
}

TEST_F(ConvertClipTest, ShortFinalBlockWithAMarkIsPictureData) {
  REELCRAFT_NEEDS_PICTURE_TOOLS();
  test::ClipSpec spec = ClipWithSound(3, TonePcm8(1536));
  spec.audio->endWithAudio = true;
  for (Bytes last : {Bytes{0xFF, 0xFF}, Bytes{0xFF}}) {
    built = test::BuildClip(spec);
    ASSERT_EQ((built.file.size() - spec.dataOffset) % 512, 0u);
    Bytes file = built.file;
    file.insert(file.end(), last.begin(), last.end());
    test::WriteFileBytes(clip, file);
    EXPECT_EQ(ConvertClip(clip, target, &control, cancelFlag, messages, options).state,
              ConversionState::Done);
    ExpectVideo(spec.pictures, 2);
    ExpectSound("pcm_u8", 8000, 1);
  }
}

TEST_F(ConvertClipTest, SoundLongerThanTheCopyBufferAndAcrossRiffParts) {
  REELCRAFT_NEEDS_PICTURE_TOOLS();
  test::ClipSpec spec = ClipWithSound(0, TonePcm16Stereo(400000), 2, 16);
  spec.pictures = test::MakePictures(12, 640, 480);
  spec.width = 640;
  spec.height = 480;
  spec.audio->sampleRate = 44100;
  spec.audio->pictureBlocksPerAudioBlock = 1;
  options.avi.riffPartLimit = 200 * 1024;
  EXPECT_EQ(Convert(spec), ConversionState::Done);
  ExpectVideo(spec.pictures, 2);
  ExpectSound("pcm_s16le", 44100, 2);
  Bytes file = test::ReadFileBytes(target);
  EXPECT_NE(std::string(file.begin(), file.end()).find("AVIX"), std::string::npos);
}

TEST_F(ConvertClipTest, CancelBeforeTheFirstPictureLeavesTheTargetAlone) {
  test::ClipSpec spec = ClipWithSound(0, TonePcm8(100000));
  spec.pictures = test::MakePictures(12, 640, 480);
  test::WriteFileBytes(target, Bytes{9, 9, 9});
  progress.OnCall([&](const std::string &call) {
    if (call == "pump")
      cancelFlag = 1;
  });
  EXPECT_EQ(Convert(spec, &control), ConversionState::Cancelled);
  EXPECT_EQ(cancelFlag, 1);
  EXPECT_EQ(test::ReadFileBytes(target), (Bytes{9, 9, 9}));
  EXPECT_TRUE(TempFilesLeft().empty());
  EXPECT_TRUE(messages.shown().empty());
}

TEST_F(ConvertClipTest, CancelDuringThePicturesLeavesTheFramesSoFarWithoutSound) {
  REELCRAFT_NEEDS_PICTURE_TOOLS();
  test::ClipSpec spec = ClipWithSound(5, TonePcm8(5000));
  int pumps = 0;
  progress.OnCall([&](const std::string &call) {
    // The first pump follows the clip's one read, the second the second picture.
    if (call == "pump" && ++pumps == 2)
      cancelFlag = 1;
  });
  EXPECT_EQ(Convert(spec, &control), ConversionState::Cancelled);
  EXPECT_EQ(cancelFlag, 1);
  ExpectVideo({spec.pictures[0], spec.pictures[1]}, 1);
  EXPECT_TRUE(TempFilesLeft().empty());
}

TEST_F(ConvertClipTest, CancelGivenBeforeTheCallIsCleared) {
  REELCRAFT_NEEDS_PICTURE_TOOLS();
  for (bool sound : {false, true}) {
    test::ClipSpec spec = ClipWithSound(3, TonePcm8(2000));
    if (!sound)
      spec.audio.reset();
    cancelFlag = 1;
    EXPECT_EQ(Convert(spec, &control), ConversionState::Done);
    EXPECT_EQ(cancelFlag, 0);
    ExpectVideo(spec.pictures, sound ? 2 : 1);
  }
}

TEST_F(ConvertClipTest, FailuresOfTheSoundPathLeaveNoTemporaryFile) {
  // No first picture in the picture file.
  test::ClipSpec spec = ClipWithSound(1, TonePcm8(3000));
  spec.pictures = {Bytes(3000, 0x42)};
  EXPECT_EQ(Convert(spec, &control), ConversionState::Failed);
  EXPECT_FALSE(fs::exists(target));
  // The AVI file cannot be created: no message of the engine's own, but its place and reason.
  spec = ClipWithSound(2, TonePcm8(3000));
  target = dir / "no-such-folder/clip.avi";
  built = test::WriteClip(clip, spec);
  ConversionResult result = ConvertClip(clip, target, &control, cancelFlag, messages, options);
  EXPECT_EQ(messages.texts(), std::vector<std::string>{"Failed to find first JPEG"});
  EXPECT_TRUE(TempFilesLeft().empty());
  // Sound beyond what memory holds, and no temporary folder to put it in: a silent failure.
  options.tempFolder = dir / "no-such-folder";
  test::WriteClip(clip, ClipWithSound(2, TonePcm8(SoundStore::kHeldInMemory + 1000)));
  ConversionResult noFolder =
      ConvertClip(clip, dir / "clip.avi", &control, cancelFlag, messages, options);
  EXPECT_EQ(messages.shown().size(), 1u);
  for (auto [failed, path] : {std::pair{result, target}, {noFolder, dir / "no-such-folder"}}) {
    EXPECT_EQ(failed.state, ConversionState::Failed);
    ASSERT_TRUE(failed.failure);
    EXPECT_EQ(failed.failure->file.path, path);
    EXPECT_EQ(failed.failure->file.error, ENOENT);
  }
}

// Every failure says what failed, in which file and why, and whether the engine's messages
// told the user already: a front end never guesses it from what was shown.
TEST_F(ConvertClipTest, EveryFailureNamesItsKindItsFileAndWhetherItWasTold) {
  test::ClipSpec noPicture;
  noPicture.pictures = {Bytes(3000, 0x42)};
  test::ClipSpec plain;
  plain.pictures = test::MakePictures(2);
  struct Case {
    const char *name;
    std::function<void()> prepare;
    FailureKind kind;
    std::string path;
    int error;
    bool told;
  };
  std::string missingFolder = dir / "no-such-folder";
  Case cases[] = {
      {"missing clip", [&] { fs::remove(clip); }, FailureKind::ClipNotOpened, clip, ENOENT, true},
      {"short clip", [&] { test::WriteFileBytes(clip, Bytes(34, 'Q')); }, FailureKind::NotAClip,
       clip, 0, true},
      {"no picture", [&] { test::WriteClip(clip, noPicture); }, FailureKind::NoPicture, clip, 0,
       true},
      {"no folder for the AVI",
       [&] {
         test::WriteClip(clip, plain);
         target = missingFolder + "/clip.avi";
       },
       FailureKind::AviNotWritten, missingFolder + "/clip.avi", ENOENT, false},
      {"no folder for the sound",
       [&] {
         test::WriteClip(clip, ClipWithSound(2, TonePcm8(SoundStore::kHeldInMemory + 1000)));
         options.tempFolder = missingFolder;
       },
       FailureKind::SoundNotKept, missingFolder, ENOENT, false},
  };
  for (const Case &c : cases) {
    target = dir / "clip.avi";
    options.tempFolder = tempFolder;
    c.prepare();
    size_t shownBefore = messages.shown().size();
    ConversionResult result = ConvertClip(clip, target, &control, cancelFlag, messages, options);
    EXPECT_EQ(result.state, ConversionState::Failed) << c.name;
    ASSERT_TRUE(result.failure) << c.name;
    EXPECT_EQ(result.failure->kind, c.kind) << c.name;
    EXPECT_EQ(result.failure->file.path, c.path) << c.name;
    EXPECT_EQ(result.failure->file.error, c.error) << c.name;
    EXPECT_EQ(result.failure->told, c.told) << c.name;
    EXPECT_EQ(messages.shown().size() - shownBefore, c.told ? 1u : 0u) << c.name;
  }
}

// The sound that memory does not hold goes to a file that no one else may read while it exists.
TEST_F(ConvertClipTest, SystemTemporaryFolderHoldsPrivateFilesWhileItRunsAndNoneAfterwards) {
#ifdef _WIN32
  GTEST_SKIP() << "the files a process holds open are listed through /proc";
#else
  options.tempFolder.reset();
  test::ScopedEnvironment tmpdir("TMPDIR", tempFolder);
  std::set<fs::perms> during;
  progress.OnCall([&](const std::string &call) {
    if (call != "pump")
      return;
    for (const std::string &file : test::FilesOpenIn(0, tempFolder))
      during.insert(fs::status(file).permissions());
    // No name to open them by, nor for a cleaner of the folder to take them away.
    EXPECT_TRUE(TempFilesLeft().empty());
  });
  test::ClipSpec spec = ClipWithSound(2, TonePcm8(SoundStore::kHeldInMemory + 1000));
  EXPECT_EQ(Convert(spec, &control), ConversionState::Done);
  EXPECT_EQ(during, std::set<fs::perms>{fs::perms(0600)}) << "the sound, in $TMPDIR";
  spec.pictures = {Bytes(2000, 0x42)};
  EXPECT_EQ(Convert(spec, &control), ConversionState::Failed);
  EXPECT_TRUE(TempFilesLeft().empty());
  EXPECT_TRUE(test::FilesOpenIn(0, tempFolder).empty());
#endif
}

} // namespace
} // namespace reelcraft
