// SPDX-License-Identifier: MIT
#pragma once

#include "tests/support/files.h"
#include "tests/support/tools.h"

namespace reelcraft::test {

// A real JPEG picture made by libjpeg's cjpeg from a generated pattern, with restart markers
// (so it carries a DRI segment after its DQT tables, as camera pictures do). Pictures differ
// by `seed`; the same arguments give the same bytes. Thread-safe, cached.
Bytes MakeJpeg(int width, int height, int seed, int quality = 75);

// The same made with cjpeg's further `options` ("-progressive", "-arithmetic", "-grayscale")
// and, when given, the scan script `scans` (cjpeg's -scans).
Bytes MakeJpegWith(const std::string &options, int width, int height, int seed, int quality = 75,
                   const std::string &scans = "");

// `jpeg` whose frame header claims `width` x `height`: decoders size their buffers by it.
Bytes WithFrameSize(Bytes jpeg, int width, int height);

// `jpeg` with `count` more copies of its last scan header before its end, each without data.
Bytes WithEmptyScans(Bytes jpeg, int count);

// Pictures a file manager may meet in the first picture of a clip, each with whether it is
// laid out as a camera writes it (baseline or extended sequential, one scan, at most 8192
// pixels on a side); the others are made by real tools and then edited where no tool goes.
struct NamedPicture {
  std::string name;
  Bytes jpeg;
  bool cameraLike;
};
std::vector<NamedPicture> ThumbnailerPictures();

} // namespace reelcraft::test
