// SPDX-License-Identifier: MIT
#pragma once

#include "cli/clip_progress.h"
#include "cli/clip_to_avi.h"
#include "cli/json_text.h"
#include "cli/status_line.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace reelcraft {

enum class ProgressStyle {
  None,
  Terminal, // the status line redrawn in place, with the terminal's escape sequences
  Plain,    // the status line now and then as a line of its own: for a dumb terminal or a log
  Json,     // one JSON object a line on each change of a clip in hand, for another program
};

// What a run is to convert: the clips, and the bytes of those that are not refused.
struct RunTotals {
  size_t clips = 0;
  uint64_t bytes = 0;
};

// The progress of a run, written from a thread of its own a few times a second: in the status
// line, clips done of all, the share of the run's bytes, bytes per second, an estimate of the
// time left and the clips in hand. Whatever its style, it is the one place through which the
// run's workers write, so that their messages never cut into one another or into the line.
class ProgressDisplay {
public:
  // `out`: where to write; ignored for ProgressStyle::None.
  ProgressDisplay(ProgressStyle style, std::FILE *out, RunTotals totals, size_t workers);
  ~ProgressDisplay();
  ProgressDisplay(const ProgressDisplay &) = delete;
  ProgressDisplay &operator=(const ProgressDisplay &) = delete;

  // The worker `slot` begins a clip of `size` bytes whose progress it reports to `progress`.
  void Started(size_t slot, const std::string &clip, uint64_t size, const ClipProgress &progress);
  // The worker `slot` is done with `clip`, started or refused.
  void Finished(size_t slot, const std::string &clip, const ClipOutcome &outcome);
  // Runs `write` with the status line out of the way.
  void Interject(const std::function<void()> &write);

  // What the line shows now.
  StatusSnapshot Snapshot() const;

private:
  struct Slot {
    std::string clip;
    uint64_t size = 0;
    const ClipProgress *progress = nullptr;
  };

  void Run();
  void Draw();
  static nlohmann::ordered_json JsonLine(const std::string &clip, const char *state,
                                         uint64_t bytesDone, uint64_t size);
  void WriteLine(const nlohmann::ordered_json &line);
  StatusSnapshot SnapshotLocked() const;
  std::string Line() const;
  void Erase();

  ProgressStyle style_;
  std::FILE *out_;
  RunTotals totals_;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  bool stopping_ = false;
  bool drawn_ = false;
  size_t done_ = 0;
  uint64_t bytesDone_ = 0;
  size_t doneAtLastLine_ = 0;
  std::chrono::steady_clock::time_point lastLine_ = start_;
  std::vector<Slot> slots_;
  std::thread thread_;
};

} // namespace reelcraft
