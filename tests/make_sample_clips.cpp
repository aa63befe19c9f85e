// SPDX-License-Identifier: MIT
// Writes a few sample clips, made of real JPEG pictures, into the folder named on the command
// line: what scripts/run.sh converts to show the converter at work.
#include "tests/support/clip_builder.h"

#include <cmath>
#include <cstdio>
#include <exception>
#include <numbers>
#include <string>

namespace {

using namespace reelcraft::test;

ClipSpec Sample(int pictures, int width, int height, uint16_t frameRate) {
  ClipSpec spec;
  spec.pictures = MakePictures(pictures, width, height);
  spec.width = uint16_t(width);
  spec.height = uint16_t(height);
  spec.frameRate = frameRate;
  return spec;
}

// Two seconds of a 440 Hz tone, 8-bit mono at 8000 samples a second.
Bytes Tone() {
  Bytes pcm;
  for (int i = 0; i < 16000; ++i)
    pcm.push_back(uint8_t(128 + 100 * std::sin(2 * std::numbers::pi * 440 * i / 8000.0)));
  return pcm;
}

} // namespace

int main(int argc, char **argv) {
  if (argc != 2) {
    std::fprintf(stderr, "Usage: %s OUTPUT_FOLDER\n", argv[0]);
    return 2;
  }
  std::string folder = argv[1];
  try {
    WriteClip(folder + "/street_320x240_15fps.qvj", Sample(60, 320, 240, 30));
    ClipSpec garden = Sample(40, 640, 480, 25);
    // Camera clips often carry stray bytes between pictures.
    for (int i = 0; i < 40; ++i)
      garden.gaps.push_back(Bytes(size_t(i * 37 % 300), 0x00));
    WriteClip(folder + "/garden_640x480_12.5fps.qvj", garden);
    ClipSpec harbour = Sample(30, 320, 240, 30);
    harbour.audio = ClipAudio{Tone(), 1, 8000, 1, 8};
    WriteClip(folder + "/harbour_320x240_15fps_sound.qvj", harbour);
  } catch (const std::exception &error) {
    std::fprintf(stderr, "%s: %s\n", argv[0], error.what());
    return 1;
  }
  return 0;
}
