#pragma once

#include "cli/output_plan.h"
#include "cli/progress_display.h"

#include <atomic>
#include <cstddef>
#include <string>
#include <vector>

namespace reelcraft {

enum ExitStatus { kExitConverted = 0, kExitFailed = 1, kExitUsage = 2, kExitInterrupted = 130 };

struct RunSummary {
  size_t converted = 0;
  size_t failed = 0;
  size_t skipped = 0; // refused, or not converted because of an interrupt
  bool interrupted = false;
};

// Converts the clips of `jobs` on `threads` threads, each conversion with a cancel flag of its
// own, raised once `interrupted` is: clips in hand stop at their next picture and leave
// nothing, clips not started are skipped. Workers report through `display`, whose slots must
// number `threads` at least.
RunSummary ConvertClips(const std::vector<ClipJob> &jobs, size_t threads, bool replace,
                        const std::atomic<int> &interrupted, ProgressDisplay &display);

// "3 converted, 1 failed, 0 skipped", after "Interrupted: " when it was.
std::string SummaryText(const RunSummary &summary);

ExitStatus ExitStatusOf(const RunSummary &summary);

} // namespace reelcraft
