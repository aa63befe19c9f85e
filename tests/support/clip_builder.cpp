// SPDX-License-Identifier: MIT
#include "tests/support/clip_builder.h"

#include "tests/support/jpeg_pictures.h"

#include <algorithm>
#include <stdexcept>

namespace reelcraft::test {

namespace {

constexpr size_t kHeaderSize = 35;
constexpr size_t kBlock = 512;

void PutBigEndian(Bytes &out, uint32_t value, int width) {
  for (int shift = 8 * (width - 1); shift >= 0; shift -= 8)
    out.push_back(uint8_t(value >> shift));
}

void Append(Bytes &out, const Bytes &more) { out.insert(out.end(), more.begin(), more.end()); }

Bytes PictureStream(const ClipSpec &spec) {
  Bytes stream;
  for (size_t i = 0; i < spec.pictures.size(); ++i) {
    if (i < spec.gaps.size())
      Append(stream, spec.gaps[i]);
    Append(stream, spec.pictures[i]);
  }
  Append(stream, spec.trailing);
  return stream;
}

std::vector<Bytes> CutBlocks(const Bytes &bytes) {
  std::vector<Bytes> blocks;
  for (size_t at = 0; at < bytes.size(); at += kBlock)
    blocks.emplace_back(bytes.begin() + long(at),
                        bytes.begin() + long(std::min(at + kBlock, bytes.size())));
  return blocks;
}

void PadToBlocks(Bytes &bytes) { bytes.resize((bytes.size() + kBlock - 1) / kBlock * kBlock); }

// Appends one audio block with its mark to `file`, and the block as it must be heard to `sound`.
void AppendAudioBlock(Bytes block, Bytes &file, Bytes &sound) {
  if (block.size() < 3)
    throw std::runtime_error("the final audio block needs three bytes");
  block[0] = block[1] = block[2];
  Append(sound, block);
  block[0] = block[1] = 0xFF;
  Append(file, block);
}

void AppendPictureBlock(const Bytes &block, Bytes &file) {
  if (block.size() >= 2 && block[0] == 0xFF && block[1] == 0xFF)
    throw std::runtime_error("a picture block would begin FF FF");
  Append(file, block);
}

// Interleaves the picture stream with marked audio blocks; gives the expected sound. The one
// short block is held back to end the file, wherever its stream runs out.
Bytes InterleaveSound(Bytes pictureStream, const ClipAudio &audio, Bytes &file) {
  Bytes pcm = audio.pcm;
  PadToBlocks(audio.endWithAudio ? pictureStream : pcm);
  std::vector<Bytes> pictureBlocks = CutBlocks(pictureStream);
  std::vector<Bytes> audioBlocks = CutBlocks(pcm);
  std::vector<Bytes> &shortEnded = audio.endWithAudio ? audioBlocks : pictureBlocks;
  Bytes last;
  if (!shortEnded.empty() && shortEnded.back().size() < kBlock) {
    last = shortEnded.back();
    shortEnded.pop_back();
  }
  Bytes sound;
  size_t p = 0, a = 0;
  while (p < pictureBlocks.size() || a < audioBlocks.size()) {
    for (int k = 0; k < audio.pictureBlocksPerAudioBlock && p < pictureBlocks.size(); ++k)
      AppendPictureBlock(pictureBlocks[p++], file);
    if (a < audioBlocks.size())
      AppendAudioBlock(audioBlocks[a++], file, sound);
  }
  if (!last.empty() && audio.endWithAudio)
    AppendAudioBlock(last, file, sound);
  else if (!last.empty())
    AppendPictureBlock(last, file);
  return sound;
}

} // namespace

Bytes ClipHeaderBytes(const ClipSpec &spec, uint32_t dataSize) {
  Bytes header = {'Q', 'V', 'A', 'V', '0', '1', 0, 0, 0};
  const ClipAudio none{};
  const ClipAudio &audio = spec.audio ? *spec.audio : none;
  PutBigEndian(header, spec.dataOffset, 2);
  PutBigEndian(header, dataSize, 4);
  PutBigEndian(header, spec.width, 2);
  PutBigEndian(header, spec.height, 2);
  PutBigEndian(header, spec.frameCount.value_or(uint16_t(spec.pictures.size())), 2);
  PutBigEndian(header, spec.frameRate, 2);
  PutBigEndian(header, 0, 2);
  PutBigEndian(header, spec.audio ? audio.audioPresent : 0, 4);
  PutBigEndian(header, audio.sampleRate, 2);
  PutBigEndian(header, audio.channels, 2);
  PutBigEndian(header, audio.bitsPerSample, 2);
  return header;
}

BuiltClip BuildClip(const ClipSpec &spec) {
  if (spec.dataOffset < kHeaderSize)
    throw std::runtime_error("the data area cannot begin inside the header");
  BuiltClip clip;
  clip.pictureStream = PictureStream(spec);
  uint32_t dataSize = spec.dataSize.value_or(uint32_t(clip.pictureStream.size()));
  clip.file = ClipHeaderBytes(spec, dataSize);
  clip.file.resize(spec.dataOffset, 0);
  if (spec.audio)
    clip.sound = InterleaveSound(clip.pictureStream, *spec.audio, clip.file);
  else
    Append(clip.file, clip.pictureStream);
  return clip;
}

BuiltClip WriteClip(const std::string &path, const ClipSpec &spec) {
  BuiltClip clip = BuildClip(spec);
  WriteFileBytes(path, clip.file);
  return clip;
}

std::vector<Bytes> MakePictures(int count, int width, int height, int firstSeed) {
  std::vector<Bytes> pictures;
  for (int i = 0; i < count; ++i)
    pictures.push_back(MakeJpeg(width, height, firstSeed + i));
  return pictures;
}

} // namespace reelcraft::test
