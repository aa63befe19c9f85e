// SPDX-License-Identifier: MIT
// Writes the seed corpus of the fuzzers into the folder named on the command line: in "clips",
// small clips of real JPEG pictures, with and without sound, and one past the window's size.
#include "engine/convert_clip.h"
#include "tests/support/clip_builder.h"
#include "tests/support/scripted_messages.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace reelcraft::test;

ClipSpec Pictures(int count, int width, int height) {
  ClipSpec spec;
  spec.pictures = MakePictures(count, width, height);
  spec.width = uint16_t(width);
  spec.height = uint16_t(height);
  return spec;
}

ClipSpec WithSound(ClipSpec spec, size_t bytes, uint16_t channels, uint16_t bits) {
  spec.audio = ClipAudio{};
  for (size_t i = 0; i < bytes; ++i)
    spec.audio->pcm.push_back(uint8_t(i * 13 + i / 7));
  spec.audio->channels = channels;
  spec.audio->bitsPerSample = bits;
  return spec;
}

std::vector<std::pair<std::string, ClipSpec>> SeedClips() {
  ClipSpec gaps = Pictures(4, 16, 16);
  gaps.gaps = {Bytes(40, 0), Bytes{0xFF, 0xD9, 0xFF}, Bytes(3, 0xFF)};
  gaps.trailing = Bytes(20, 0xAA);
  gaps.dataOffset = 35;
  gaps.frameCount = 6;
  ClipSpec stereo = WithSound(Pictures(2, 24, 16), 3000, 2, 16);
  stereo.audio->endWithAudio = true;
  stereo.audio->pictureBlocksPerAudioBlock = 1;
  ClipSpec large = Pictures(6, 320, 240);
  large.gaps = {Bytes(100000, 0x11)};
  return {{"plain", Pictures(3, 32, 24)},
          {"gaps", gaps},
          {"mono8", WithSound(Pictures(3, 32, 24), 1500, 1, 8)},
          {"stereo16", stereo},
          {"no_block_align", WithSound(Pictures(2, 16, 16), 600, 1, 4)},
          {"large", large}};
}

void WriteSeeds(const std::string &folder) {
  std::filesystem::create_directories(folder + "/clips");
  for (const auto &[name, spec] : SeedClips())
    WriteClip(folder + "/clips/" + name + ".qvj", spec);
}

} // namespace

int main(int argc, char **argv) {
  if (argc != 2) {
    std::fprintf(stderr, "Usage: %s OUTPUT_FOLDER\n", argv[0]);
    return 2;
  }
  try {
    WriteSeeds(argv[1]);
  } catch (const std::exception &error) {
    std::fprintf(stderr, "%s: %s\n", argv[0], error.what());
    return 1;
  }
  return 0;
}
