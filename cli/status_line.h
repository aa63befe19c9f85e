#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace reelcraft {

struct ClipInHand {
  std::string name;
  double fraction = 0; // 0 to 1
};

struct StatusSnapshot {
  size_t done = 0;
  size_t total = 0;
  double bytesPerSecond = 0;
  std::vector<ClipInHand> inHand;
};

// "3/10 clips  12.3 MB/s  a.qvj 45%  b.qvj 3%", cut to fewer than `columns` characters so that
// the terminal never wraps it.
std::string StatusLine(const StatusSnapshot &snapshot, size_t columns);

// "950 B/s", "12.3 MB/s": decimal units, three significant figures at most.
std::string ByteRateText(double bytesPerSecond);

} // namespace reelcraft
