#pragma once

#include "cli/clip_progress.h"
#include "cli/status_line.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace reelcraft {

// The status line of a run on a terminal, redrawn a few times a second from a thread of its
// own: clips done of all, bytes per second, and the clips in hand. Without a terminal it shows
// nothing but still serves as the one place through which the run's workers write, so that
// their messages never cut into one another or into the line.
class ProgressDisplay {
public:
  // `terminal`: where to draw, or null for no display.
  ProgressDisplay(std::FILE *terminal, size_t totalClips, size_t workers);
  ~ProgressDisplay();
  ProgressDisplay(const ProgressDisplay &) = delete;
  ProgressDisplay &operator=(const ProgressDisplay &) = delete;

  // The worker `slot` begins a clip of `size` bytes whose progress it reports to `progress`.
  void Started(size_t slot, const std::string &clip, uint64_t size, const ClipProgress &progress);
  // The worker `slot` is done with its clip, whatever came of it.
  void Finished(size_t slot);
  // Runs `write` with the status line out of the way.
  void Interject(const std::function<void()> &write);

  // What the line shows now.
  StatusSnapshot Snapshot() const;

private:
  struct Slot {
    std::string name;
    uint64_t size = 0;
    const ClipProgress *progress = nullptr;
  };

  void Run();
  void Erase();

  std::FILE *terminal_;
  size_t totalClips_;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  bool stopping_ = false;
  bool drawn_ = false;
  size_t done_ = 0;
  uint64_t bytesDone_ = 0;
  std::vector<Slot> slots_;
  std::thread thread_;
};

} // namespace reelcraft
