// SPDX-License-Identifier: MIT
#include "engine/clip_header.h"
#include "engine/convert_clip.h"
#include "tests/support/avi_probe.h"
#include "tests/support/clip_builder.h"
#include "tests/support/md5.h"
#include "tests/support/scripted_messages.h"
#include "tests/support/temp_dir.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <map>
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

// The data area as blocks that remember where they came from, so that damage done to them says
// by construction which pictures and sound blocks it left whole.
struct Block {
  Bytes bytes;
  long origin; // the block's index in the undamaged clip; -1 for bytes that were never its own
};

struct BlockedClip {
  Bytes header;
  std::vector<Block> blocks;
  std::vector<bool> sound;                        // of the undamaged blocks
  std::vector<std::pair<long, long>> pictureSpan; // first and last undamaged block of each
};

BlockedClip Blocked(const test::ClipSpec &spec) {
  Bytes file = test::BuildClip(spec).file;
  BlockedClip clip{Bytes(file.begin(), file.begin() + spec.dataOffset), {}, {}, {}};
  std::vector<long> pictureBlocks; // the blocks that hold the picture stream, in order
  for (size_t at = spec.dataOffset; at < file.size(); at += kBlock) {
    Bytes bytes(file.begin() + long(at), file.begin() + long(std::min(file.size(), at + kBlock)));
    bool sound = spec.audio && bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xFF;
    if (!sound)
      pictureBlocks.push_back(long(clip.blocks.size()));
    clip.sound.push_back(sound);
    clip.blocks.push_back({bytes, long(clip.blocks.size())});
  }
  size_t offset = 0;
  for (const Bytes &picture : spec.pictures) {
    clip.pictureSpan.emplace_back(pictureBlocks[offset / kBlock],
                                  pictureBlocks[(offset + picture.size() - 1) / kBlock]);
    offset += picture.size();
  }
  return clip;
}

Bytes Joined(const BlockedClip &clip) {
  Bytes file = clip.header;
  for (const Block &block : clip.blocks)
    file.insert(file.end(), block.bytes.begin(), block.bytes.end());
  return file;
}

// A picture is whole when its own blocks are all there, unchanged and in order, with nothing
// between them but whole sound blocks of its own stretch.
std::vector<std::string> WholePictures(const BlockedClip &damaged, const BlockedClip &original,
                                       const std::vector<Bytes> &pictures) {
  std::map<long, size_t> at;
  for (size_t i = 0; i < damaged.blocks.size(); ++i)
    if (damaged.blocks[i].origin >= 0 &&
        damaged.blocks[i].bytes == original.blocks[size_t(damaged.blocks[i].origin)].bytes)
      at[damaged.blocks[i].origin] = i;
  std::vector<std::string> whole;
  for (size_t p = 0; p < pictures.size(); ++p) {
    auto [first, last] = original.pictureSpan[p];
    bool intact = at.count(first) && at.count(last) && at[last] >= at[first];
    for (size_t i = intact ? at[first] : 1, end = intact ? at[last] : 0; i <= end && intact; ++i) {
      long origin = damaged.blocks[i].origin;
      bool unchanged = origin >= first && origin <= last && at.count(origin) && at[origin] == i;
      intact = unchanged && (i == at[first] || damaged.blocks[i - 1].origin < origin);
    }
    for (long b = first; b <= last && intact; ++b)
      intact = original.sound[size_t(b)] || at.count(b);
    if (intact)
      whole.push_back(test::Md5Hex(pictures[p]));
  }
  return whole;
}

// The sound a salvage must give: every sound block left whole, its mark read as the converter
// reads it, and of a block cut short its whole samples.
Bytes WholeSound(const BlockedClip &damaged, const BlockedClip &original, size_t sampleBytes) {
  Bytes sound;
  for (const Block &block : damaged.blocks) {
    if (block.origin < 0 || !original.sound[size_t(block.origin)] || block.bytes.size() < 3)
      continue;
    const Bytes &whole = original.blocks[size_t(block.origin)].bytes;
    if (!std::equal(block.bytes.begin(), block.bytes.end(), whole.begin()))
      continue;
    Bytes pcm = {block.bytes[2], block.bytes[2]};
    pcm.insert(pcm.end(), block.bytes.begin() + 2, block.bytes.end());
    pcm.resize(pcm.size() - pcm.size() % sampleBytes);
    sound.insert(sound.end(), pcm.begin(), pcm.end());
  }
  return sound;
}

// Each way a card damages a clip, with and without sound: every picture the damage left whole
// comes out exactly and in order, nothing damaged or foreign goes in as a frame, every whole
// sound block stays, the clip keeps its length in time, and the run says it is incomplete.
TEST(Salvage, EachKindOfDamageGivesBackExactlyTheWholePictures) {
  REELCRAFT_NEEDS_PICTURE_TOOLS();
  test::TempDir dir;
  std::string clipPath = dir / "clip.qvj", target = dir / "clip.avi";
  const int kPictures = 40;
  std::vector<Bytes> pictures = test::MakePictures(kPictures, 320, 240, 1);
  std::vector<Bytes> others = test::MakePictures(4, 320, 240, 500);
  Bytes small = test::MakePictures(1, 160, 120, 900)[0];
  using Damage = std::function<void(BlockedClip &, const BlockedClip &)>;
  auto middleOf = [](const BlockedClip &clip, size_t picture) {
    return size_t(clip.pictureSpan[picture].first + clip.pictureSpan[picture].second) / 2;
  };
  struct Case {
    const char *name;
    Damage damage;
    bool soundOnly = false;
    bool headerLost = false;
    // What the report must say besides: a cut, pictures of another camera, the header's word.
    std::function<bool(const ConversionResult &)> reported = {};
    bool breaksPictures = true; // else a test that finds no damage proves nothing
  } cases[] = {
      {"zeroed sectors inside a picture",
       [&](BlockedClip &c, const BlockedClip &) {
         for (size_t b = middleOf(c, 10); b < middleOf(c, 10) + 3; ++b)
           c.blocks[b] = {Bytes(c.blocks[b].bytes.size(), 0), -1};
       }},
      {"a cluster of another clip of the same camera",
       [&](BlockedClip &c, const BlockedClip &) {
         Bytes other;
         for (const Bytes &p : others)
           other.insert(other.end(), p.begin(), p.end());
         for (size_t i = 0; i < 8; ++i)
           c.blocks[middleOf(c, 12) + i] = {Bytes(other.begin() + long(3000 + i * kBlock),
                                                  other.begin() + long(3000 + (i + 1) * kBlock)),
                                            -1};
       }},
      {"a whole picture of another camera",
       [&](BlockedClip &c, const BlockedClip &) {
         size_t first = middleOf(c, 20);
         for (size_t i = 0; i * kBlock < small.size(); ++i) {
           Bytes bytes(kBlock, 0);
           std::copy(small.begin() + long(i * kBlock),
                     small.begin() + long(std::min(small.size(), (i + 1) * kBlock)), bytes.begin());
           c.blocks[first + i] = {bytes, -1};
         }
       },
       false, false, [](const ConversionResult &r) { return r.picturesForeign == 1; }},
      {"a dropped cluster",
       [&](BlockedClip &c, const BlockedClip &) {
         c.blocks.erase(c.blocks.begin() + long(middleOf(c, 25)),
                        c.blocks.begin() + long(middleOf(c, 25) + 8));
       }},
      {"a sound block inside a picture zeroed",
       [&](BlockedClip &c, const BlockedClip &o) {
         for (long b = o.pictureSpan[15].first; b < o.pictureSpan[15].second; ++b)
           if (o.sound[size_t(b)]) {
             c.blocks[size_t(b)] = {Bytes(kBlock, 0), -1};
             return;
           }
         FAIL() << "no sound block inside picture 15";
       },
       true},
      {"frameCount written too small",
       [&](BlockedClip &c, const BlockedClip &) {
         c.header[19] = 0; // frameCount, big-endian at 19
         c.header[20] = 10;
       },
       false, false, [](const ConversionResult &r) { return !r.headerDisagrees.empty(); }, false},
      {"dataSize written too small",
       [&](BlockedClip &c, const BlockedClip &) {
         c.header[11] = c.header[12] = 0; // dataSize, big-endian at 11
         c.header[13] = 0x20;
         c.header[14] = 0;
       },
       false, false, [](const ConversionResult &r) { return !r.headerDisagrees.empty(); }, false},
      {"audioPresent written as 0", [&](BlockedClip &c, const BlockedClip &) { c.header[28] = 0; },
       true, false, [](const ConversionResult &r) { return !r.headerDisagrees.empty(); }, false},
      {"dataOffset written wrong",
       [&](BlockedClip &c, const BlockedClip &) { c.header[10] = 0x40; }, true, false,
       [](const ConversionResult &r) { return !r.headerDisagrees.empty(); }, false},
      {"the first sector lost",
       [&](BlockedClip &c, const BlockedClip &) { std::fill(c.header.begin(), c.header.end(), 0); },
       false, true, [](const ConversionResult &r) { return !r.headerGuessed.empty(); }, false},
      {"cut inside a sound block",
       [&](BlockedClip &c, const BlockedClip &o) {
         size_t b = size_t(o.pictureSpan[30].first);
         while (!o.sound[b])
           ++b;
         c.blocks.resize(b + 1);
         c.blocks[b].bytes.resize(101);
       },
       true, false, [](const ConversionResult &r) { return r.cutShortAt.has_value(); }},
  };
  for (bool sound : {false, true}) {
    test::ClipSpec spec;
    spec.pictures = pictures;
    if (sound) {
      // 8000 samples a second at 15 pictures a second: the sound as long as the pictures.
      spec.audio = test::ClipAudio{};
      spec.audio->channels = 2;
      spec.audio->bitsPerSample = 16;
      for (int i = 0; i < kPictures * 8000 / 15 * 4; ++i)
        spec.audio->pcm.push_back(uint8_t(i * 7));
      size_t pictureBytes = 0;
      for (const Bytes &p : pictures)
        pictureBytes += p.size();
      spec.audio->pictureBlocksPerAudioBlock =
          int(pictureBytes / kBlock / (spec.audio->pcm.size() / (kBlock - 2)));
    }
    BlockedClip original = Blocked(spec);
    ClipHeader like;
    {
      test::WriteFileBytes(clipPath, Joined(original));
      ScriptedMessages quiet;
      ASSERT_TRUE(ReadClipHeader(clipPath, like, quiet));
    }
    for (const Case &c : cases) {
      if (c.soundOnly && !sound)
        continue;
      SCOPED_TRACE(std::string(c.name) + (sound ? ", with sound" : ""));
      BlockedClip damaged = original;
      c.damage(damaged, original);
      test::WriteFileBytes(clipPath, Joined(damaged));
      ScriptedMessages messages;
      CancelFlag cancelFlag{0};
      ConvertOptions options;
      options.tempFolder = dir.path().string();
      options.salvage = true;
      if (c.headerLost && sound)
        options.like = like;
      ConversionResult result =
          ConvertClip(clipPath, target, nullptr, cancelFlag, messages, options);
      ASSERT_TRUE(result.HasAvi());
      EXPECT_EQ(result.state, ConversionState::Incomplete);
      std::vector<std::string> whole = WholePictures(damaged, original, pictures);
      EXPECT_EQ(whole.size() < size_t(kPictures), c.breaksPictures);
      EXPECT_EQ(test::PacketMd5s(target, "0:v"), whole);
      EXPECT_EQ(result.picturesWritten, whole.size());
      if (!result.cutShortAt) {
        EXPECT_NEAR(double(result.picturesExpected), kPictures, 2.0) << "the clip's length in time";
      }
      if (c.reported) {
        EXPECT_TRUE(c.reported(result));
      }
      if (sound) {
        EXPECT_EQ(test::StreamBytes(target, "0:a"), WholeSound(damaged, original, 4));
      }
    }
  }
}

} // namespace
} // namespace reelcraft
