// SPDX-License-Identifier: MIT
#include "cli/status_line.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>

namespace reelcraft {

namespace {

// UTF-8 continuation bytes take no column of their own.
bool StartsCharacter(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) != 0x80; }

std::string CutToColumns(const std::string &text, size_t columns) {
  size_t used = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (StartsCharacter(text[i]) && used++ == columns)
      return text.substr(0, i);
  }
  return text;
}

std::string PercentText(double fraction) {
  return std::to_string(int(std::floor(std::clamp(fraction, 0.0, 1.0) * 100))) + "%";
}

} // namespace

std::string ByteRateText(double bytesPerSecond) {
  static const char *const kUnits[] = {"B/s", "kB/s", "MB/s", "GB/s", "TB/s"};
  size_t unit = 0;
  double value = std::max(bytesPerSecond, 0.0);
  while (value >= 999.5 && unit + 1 < std::size(kUnits)) {
    value /= 1000;
    ++unit;
  }
  char text[32];
  int decimals = unit == 0 || value >= 99.95 ? 0 : value >= 9.995 ? 1 : 2;
  std::snprintf(text, sizeof text, "%.*f %s", decimals, value, kUnits[unit]);
  return text;
}

std::string TimeLeftText(double seconds) {
  auto whole = static_cast<long long>(std::ceil(std::max(seconds, 0.0)));
  char text[48];
  if (whole >= 3600)
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld left", whole / 3600, whole / 60 % 60,
                  whole % 60);
  else
    std::snprintf(text, sizeof text, "%lld:%02lld left", whole / 60, whole % 60);
  return text;
}

std::string StatusLine(const StatusSnapshot &snapshot, size_t columns) {
  std::string line =
      std::to_string(snapshot.done) + "/" + std::to_string(snapshot.total) + " clips";
  if (snapshot.bytesTotal > 0)
    line += "  " + PercentText(snapshot.bytesDone / snapshot.bytesTotal);
  line += "  " + ByteRateText(snapshot.bytesPerSecond);
  if (snapshot.bytesPerSecond > 0 && snapshot.bytesTotal > 0)
    line +=
        "  " + TimeLeftText((snapshot.bytesTotal - snapshot.bytesDone) / snapshot.bytesPerSecond);
  for (const ClipInHand &clip : snapshot.inHand)
    line += "  " + clip.name + " " + PercentText(clip.fraction);
  return columns == 0 ? line : CutToColumns(line, columns - 1);
}

} // namespace reelcraft
