// SPDX-License-Identifier: MIT
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
  double bytesDone = 0;  // of the whole run, clips in hand by their share
  double bytesTotal = 0; // of the whole run
};

// "3/10 clips  40%  12.3 MB/s  2:13 left  a.qvj 45%  b.qvj 3%", cut to fewer than `columns`
// characters so that the terminal never wraps it (0: not cut). The run's share and the time
// left come once there is something to tell them from.
std::string StatusLine(const StatusSnapshot &snapshot, size_t columns);

// "950 B/s", "12.3 MB/s": decimal units, three significant figures at most.
std::string ByteRateText(double bytesPerSecond);

// "0:45 left", "2:13 left", "1:02:03 left".
std::string TimeLeftText(double seconds);

} // namespace reelcraft
