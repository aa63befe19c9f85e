// SPDX-License-Identifier: MIT
#include "tests/support/jpeg_pictures.h"

#include "tests/support/temp_dir.h"
#include "tests/support/tools.h"

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
  static std::mutex mutex;
  static std::map<std::tuple<int, int, int, int>, Bytes> cache;
  std::lock_guard lock(mutex);
  auto key = std::make_tuple(width, height, seed, quality);
  if (auto found = cache.find(key); found != cache.end())
    return found->second;

  TempDir dir;
  WriteFileBytes(dir / "in.ppm", MakePpm(width, height, seed));
  std::string command = ToolCommand(Tool::Cjpeg) + " -restart 1 -quality " +
                        std::to_string(quality) + " -outfile " + ShellQuote(dir / "out.jpg") + " " +
                        ShellQuote(dir / "in.ppm");
  if (RunCommand(command).status != 0)
    throw std::runtime_error("cjpeg failed: " + command);
  return cache[key] = ReadFileBytes(dir / "out.jpg");
}

} // namespace reelcraft::test
