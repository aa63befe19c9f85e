// Writes a few sample clips, made of real JPEG pictures, into the folder named on the command
// line: what scripts/run.sh converts to show the converter at work.
#include "tests/support/clip_builder.h"

#include <cstdio>
#include <exception>
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
  } catch (const std::exception &error) {
    std::fprintf(stderr, "%s: %s\n", argv[0], error.what());
    return 1;
  }
  return 0;
}
