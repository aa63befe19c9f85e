// SPDX-License-Identifier: MIT
#include "engine/convert_clip.h"
#include "tests/support/clip_builder.h"
#include "tests/support/md5.h"
#include "tests/support/scripted_messages.h"
#include "tests/support/temp_dir.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <random>

namespace reelcraft {
namespace {

using test::Bytes;

test::ClipSpec Pictures(int count, int firstSeed = 1) {
  test::ClipSpec spec;
  spec.pictures = test::MakePictures(count, 320, 240, firstSeed);
  return spec;
}

test::ClipSpec WithSound(test::ClipSpec spec, size_t pcmBytes, uint16_t channels,
                         uint16_t bitsPerSample, bool endWithAudio = false) {
  spec.audio = test::ClipAudio{};
  std::mt19937 random{uint32_t(pcmBytes)};
  for (size_t i = 0; i < pcmBytes; ++i)
    spec.audio->pcm.push_back(uint8_t(random()));
  spec.audio->channels = channels;
  spec.audio->bitsPerSample = bitsPerSample;
  spec.audio->sampleRate = uint16_t(8000 * channels);
  spec.audio->endWithAudio = endWithAudio;
  return spec;
}

// Blocks of the data area overwritten, zeros or noise, as a worn card leaves them.
Bytes Damaged(const test::ClipSpec &spec, std::vector<std::pair<size_t, bool>> blocks) {
  Bytes file = test::BuildClip(spec).file;
  std::mt19937 random(7);
  for (auto [block, zeros] : blocks)
    for (size_t at = spec.dataOffset + block * 512; at < spec.dataOffset + (block + 1) * 512; ++at)
      file[at] = zeros ? 0 : uint8_t(random() | 1);
  return file;
}

// The AVI files of clips of every kind are those of earlier releases, byte for byte: players,
// editors and the digests people keep of their files rely on it.
TEST(AviIdentity, EveryKindOfClipGivesTheBytesItAlwaysGave) {
  REELCRAFT_NEEDS_TOOLS(test::Tool::Cjpeg);
  struct Case {
    const char *name;
    std::function<Bytes()> clip;
    bool salvage = false;
    uint64_t partLimit = uint64_t(1) << 30;
    const char *md5;
  } cases[] = {
      {"pictures", [] { return test::BuildClip(Pictures(12)).file; }, false, 1 << 30,
       "2dd21d79b2e3059df84424117ce12b4c"},
      {"8-bit mono sound", [] { return test::BuildClip(WithSound(Pictures(12), 9000, 1, 8)).file; },
       false, 1 << 30, "108c970d58d04f105bbe641b28cd330f"},
      {"16-bit stereo ending in sound",
       [] { return test::BuildClip(WithSound(Pictures(9, 3), 20001, 2, 16, true)).file; }, false,
       1 << 30, "046209b36ec402255f7ad7169220df69"},
      {"OpenDML pictures", [] { return test::BuildClip(Pictures(40)).file; }, false, 96 << 10,
       "6f2dc9c0eeeb28e5add3db55c6d21594"},
      {"OpenDML with sound",
       [] { return test::BuildClip(WithSound(Pictures(40), 60000, 1, 16)).file; }, false, 96 << 10,
       "4a1c22d5473875b638fe688267ee13e8"},
      {"early end with sound",
       [] {
         test::ClipSpec spec = WithSound(Pictures(10), 8000, 1, 8);
         spec.frameCount = 14;
         return test::BuildClip(spec).file;
       },
       false, 1 << 30, "6bbcf4d9489b67ab86ea3e43d2014c8c"},
      {"salvage of pictures",
       [] {
         return Damaged(Pictures(16), {{20, true}, {41, false}});
       },
       true, 1 << 30, "d9dcd059cb2e157a3ad28578b793f90e"},
      {"salvage with sound",
       [] {
         return Damaged(WithSound(Pictures(16), 12000, 1, 8), {{9, true}, {30, false}});
       },
       true, 1 << 30, "7ba38dd70892039396ab0f5e3ad25659"},
      {"salvage of a clip cut in a sound block",
       [] {
         Bytes file = test::BuildClip(WithSound(Pictures(8), 7000, 2, 16)).file;
         file.resize(file.size() - 301);
         return file;
       },
       true, 1 << 30, "b4696d1b69e27d564e03f477ea4dae3f"},
      {"salvage, OpenDML with sound",
       [] {
         return Damaged(WithSound(Pictures(40), 60000, 1, 16), {{50, true}});
       },
       true, 96 << 10, "2c95b315fc246f77a9418dd209375bfc"},
  };
  test::TempDir dir;
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    std::string clip = dir / "clip.qvj", avi = dir / "clip.avi";
    test::WriteFileBytes(clip, c.clip());
    ConvertOptions options;
    options.salvage = c.salvage;
    options.avi.riffPartLimit = c.partLimit;
    options.tempFolder = dir.path().string();
    CancelFlag cancel{0};
    ScriptedMessages messages;
    ConvertClip(clip, avi, nullptr, cancel, messages, options);
    EXPECT_EQ(test::Md5Hex(test::ReadFileBytes(avi)), c.md5);
  }
}

} // namespace
} // namespace reelcraft
