// SPDX-License-Identifier: MIT
#include "tests/support/jpeg_pictures.h"

#include "tests/support/temp_dir.h"
#include "tests/support/tools.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>
#include <tuple>

namespace reelcraft::test {

namespace {

Bytes MakePpm(int width, int height, int seed) {
  std::string head = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
  Bytes ppm(head.begin(), head.end());
  uint32_t noise = 2166136261u ^ uint32_t(seed);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      noise = noise * 1664525u + 1013904223u;
      ppm.push_back(uint8_t((x * 255) / (width > 1 ? width - 1 : 1) + seed * 37));
      ppm.push_back(uint8_t((y * 255) / (height > 1 ? height - 1 : 1) + seed * 11));
      ppm.push_back(uint8_t(((x / 8 + y / 8 + seed) % 2) * 160 + (noise >> 28)));
    }
  }
  return ppm;
}

} // namespace

Bytes MakeJpeg(int width, int height, int seed, int quality) {
  return MakeJpegWith("", width, height, seed, quality);
}

Bytes MakeJpegWith(const std::string &options, int width, int height, int seed, int quality,
                   const std::string &scans) {
  static std::mutex mutex;
  static std::map<std::tuple<std::string, int, int, int, int, std::string>, Bytes> cache;
  std::lock_guard lock(mutex);
  auto key = std::make_tuple(options, width, height, seed, quality, scans);
  if (auto found = cache.find(key); found != cache.end())
    return found->second;

  TempDir dir;
  WriteFileBytes(dir / "in.ppm", MakePpm(width, height, seed));
  std::string command =
      ToolCommand(Tool::Cjpeg) + " -restart 1 -quality " + std::to_string(quality) + " " + options;
  if (!scans.empty()) {
    WriteFileBytes(dir / "scans.txt", Bytes(scans.begin(), scans.end()));
    command += " -scans " + ShellQuote(dir / "scans.txt");
  }
  command +=
      " -outfile " + ShellQuote(dir / "out.jpg") + " " + ShellQuote(dir / "in.ppm") + " 2>&1";
  CommandResult run = RunCommand(command);
  if (run.status != 0)
    throw std::runtime_error("cjpeg failed (status " + std::to_string(run.status) +
                             "): " + command + "\n" + run.output);
  return cache[key] = ReadFileBytes(dir / "out.jpg");
}

Bytes WithFrameSize(Bytes jpeg, int width, int height) {
  // The segments before the first scan, each FF, its marker, and a length that counts itself.
  for (size_t at = 2; at + 9 <= jpeg.size() && jpeg[at] == 0xFF;
       at += 2 + size_t(jpeg[at + 2] << 8 | jpeg[at + 3])) {
    uint8_t marker = jpeg[at + 1];
    if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
      jpeg[at + 5] = uint8_t(height >> 8);
      jpeg[at + 6] = uint8_t(height);
      jpeg[at + 7] = uint8_t(width >> 8);
      jpeg[at + 8] = uint8_t(width);
      return jpeg;
    }
  }
  throw std::runtime_error("no frame header");
}

Bytes WithEmptyScans(Bytes jpeg, int count) {
  // FF DA never occurs inside picture data, where every FF is followed by 00 or a restart.
  const Bytes scanMarker{0xFF, 0xDA};
  auto last = std::find_end(jpeg.begin(), jpeg.end(), scanMarker.begin(), scanMarker.end());
  if (last == jpeg.end() || jpeg.end() - last < 4)
    throw std::runtime_error("no scan");
  Bytes header(last, last + 2 + (last[2] << 8 | last[3])), scans;
  for (int i = 0; i < count; ++i)
    scans.insert(scans.end(), header.begin(), header.end());
  jpeg.insert(jpeg.end() - 2, scans.begin(), scans.end());
  return jpeg;
}

std::vector<NamedPicture> ThumbnailerPictures() {
  Bytes tiny = MakeJpeg(16, 16, 1);
  Bytes progressive = WithFrameSize(MakeJpegWith("-progressive -grayscale", 16, 16, 1), 5790, 5790);
  return {
      {"baseline", MakeJpeg(320, 240, 1), true},
      {"extended sequential: tables too coarse for baseline", MakeJpeg(320, 240, 1, 1), true},
      {"baseline, 8192 x 6144 on its header", WithFrameSize(tiny, 8192, 6144), true},
      {"baseline, 8193 wide on its header", WithFrameSize(tiny, 8193, 16), false},
      {"baseline, 65535 x 65535 on its header", WithFrameSize(tiny, 65535, 65535), false},
      {"sequential, a scan per component, 5790 x 5790 on its header",
       WithFrameSize(MakeJpegWith("", 16, 16, 1, 75, "0;1;2;"), 5790, 5790), false},
      {"progressive", MakeJpegWith("-progressive", 320, 240, 1), false},
      {"progressive, 5790 x 5790 on its header", progressive, false},
      {"progressive, 5790 x 5790, 2000 empty scans", WithEmptyScans(progressive, 2000), false},
      {"progressive, 5790 x 5790, 11000 empty scans", WithEmptyScans(progressive, 11000), false},
      {"arithmetic coding", MakeJpegWith("-arithmetic", 320, 240, 1), false},
  };
}

} // namespace reelcraft::test
