// SPDX-License-Identifier: MIT
#include "engine/convert_clip.h"
#include "tests/support/avi_probe.h"
#include "tests/support/clip_builder.h"
#include "tests/support/scripted_messages.h"
#include "tests/support/temp_dir.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>

namespace reelcraft {
namespace {

using test::Bytes;
constexpr size_t kBlock = 512;

// A clip damaged as a card recovery leaves it, and what of it the damage did not touch.
struct DamagedClip {
  Bytes file;
  std::vector<std::string> untouchedPictures; // MD5s, in order
  size_t damagedPictures = 0;
  Bytes untouchedSound;
};

// 1 to 4 stretches of whole blocks of the data area, each zeros or another file's bytes.
DamagedClip Damage(const test::ClipSpec &spec, uint32_t seed) {
  test::BuiltClip built = test::BuildClip(spec);
  std::mt19937 random(seed);
  size_t blocks = (built.file.size() - spec.dataOffset + kBlock - 1) / kBlock;
  std::vector<bool> damaged(blocks, false);
  DamagedClip clip{built.file, {}, 0, {}};
  for (uint32_t stretch = 0, count = 1 + random() % 4; stretch < count; ++stretch) {
    size_t first = random() % blocks, length = 1 + random() % 8;
    bool zeros = random() % 2 == 0;
    for (size_t block = first; block < std::min(blocks, first + length); ++block) {
      damaged[block] = true;
      size_t at = spec.dataOffset + block * kBlock;
      for (size_t i = at; i < std::min(clip.file.size(), at + kBlock); ++i)
        clip.file[i] = zeros ? 0 : uint8_t(random());
      // A damaged block is no sound: a mark made by chance is not what this test is about.
      if (clip.file[at] == 0xFF && clip.file[at + 1] == 0xFF)
        clip.file[at] = 0;
    }
  }
  // Which blocks of the undamaged clip held sound, and where each byte of the picture stream lay.
  std::vector<size_t> pictureBlocks;
  for (size_t block = 0; block < blocks; ++block) {
    size_t at = spec.dataOffset + block * kBlock;
    size_t size = std::min(kBlock, built.file.size() - at);
    bool sound = spec.audio && size >= 3 && built.file[at] == 0xFF && built.file[at + 1] == 0xFF;
    if (!sound) {
      pictureBlocks.push_back(block);
    } else if (!damaged[block]) {
      clip.untouchedSound.insert(clip.untouchedSound.end(),
                                 {built.file[at + 2], built.file[at + 2]});
      clip.untouchedSound.insert(clip.untouchedSound.end(), built.file.begin() + long(at + 2),
                                 built.file.begin() + long(at + size));
    }
  }
  size_t offset = 0;
  std::vector<std::string> md5s = test::Md5Hexes(spec.pictures);
  for (size_t i = 0; i < spec.pictures.size(); ++i) {
    size_t end = offset + spec.pictures[i].size();
    // A damaged block between a picture's own, sound or not, lands in its bytes: a block that
    // has lost its mark cannot be told from picture data.
    bool touched = std::find(damaged.begin() + long(pictureBlocks[offset / kBlock]),
                             damaged.begin() + long(pictureBlocks[(end - 1) / kBlock]) + 1,
                             true) != damaged.begin() + long(pictureBlocks[(end - 1) / kBlock]) + 1;
    if (touched)
      ++clip.damagedPictures;
    else
      clip.untouchedPictures.push_back(md5s[i]);
    offset = end;
  }
  return clip;
}

bool IsInOrderWithin(const std::vector<std::string> &part, const std::vector<std::string> &whole) {
  auto at = whole.begin();
  for (const std::string &item : part) {
    at = std::find(at, whole.end(), item);
    if (at == whole.end())
      return false;
    ++at;
  }
  return true;
}

// Salvage gives back every picture the damage did not touch, exactly and in order, with at most
// one other picture a damaged one, and every sound block it did not touch; on a clip without
// damage it writes the very AVI a plain conversion writes.
TEST(Salvage, RecoversWhatTheDamageDidNotTouch) {
  REELCRAFT_NEEDS_PICTURE_TOOLS();
  test::TempDir dir;
  std::string clipPath = dir / "clip.qvj", target = dir / "clip.avi";
  for (bool sound : {false, true}) {
    test::ClipSpec spec;
    spec.pictures = test::MakePictures(30);
    if (sound) {
      spec.audio = test::ClipAudio{};
      for (int i = 0; i < 30000; ++i)
        spec.audio->pcm.push_back(uint8_t(128 + (i % 64)));
    }
    test::WriteClip(clipPath, spec);
    ScriptedMessages messages;
    CancelFlag cancelFlag{0};
    ConvertOptions options;
    options.tempFolder = dir.path().string();
    ConvertClip(clipPath, target, nullptr, cancelFlag, messages, options);
    Bytes plain = test::ReadFileBytes(target);
    options.salvage = true;
    EXPECT_EQ(ConvertClip(clipPath, target, nullptr, cancelFlag, messages, options).state,
              ConversionState::Done);
    EXPECT_EQ(test::ReadFileBytes(target), plain) << "no damage, no difference";

    for (uint32_t seed = 1; seed <= 12; ++seed) {
      SCOPED_TRACE("sound " + std::to_string(sound) + ", seed " + std::to_string(seed));
      DamagedClip damaged = Damage(spec, seed);
      test::WriteFileBytes(clipPath, damaged.file);
      ConversionResult result =
          ConvertClip(clipPath, target, nullptr, cancelFlag, messages, options);
      ASSERT_TRUE(result.HasAvi());
      std::vector<std::string> frames = test::PacketMd5s(target, "0:v");
      EXPECT_EQ(result.picturesWritten, frames.size());
      EXPECT_TRUE(IsInOrderWithin(damaged.untouchedPictures, frames));
      EXPECT_LE(frames.size(), damaged.untouchedPictures.size() + damaged.damagedPictures);
      for (const DamagedStretch &stretch : result.damaged) {
        EXPECT_LT(stretch.begin, stretch.end);
        EXPECT_LE(stretch.end, damaged.file.size());
      }
      if (sound) {
        EXPECT_EQ(test::StreamBytes(target, "0:a"), damaged.untouchedSound);
      }
    }
  }
}

} // namespace
} // namespace reelcraft
