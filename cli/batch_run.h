// SPDX-License-Identifier: MIT
#pragma once

#include "cli/output_plan.h"
#include "cli/progress_display.h"

#include <atomic>
#include <cstddef>
#include <string>
#include <vector>

namespace reelcraft {

// Besides these, a run ended by a signal exits with 128 + the signal's number, as a shell
// reports a process that the signal ended: 130 for Ctrl-C, 143 for SIGTERM, 129 for SIGHUP.
// kExitFailed: a clip failed, was skipped, or was converted only in part.
enum ExitStatus { kExitConverted = 0, kExitFailed = 1, kExitUsage = 2 };

struct RunSummary {
  size_t converted = 0;
  size_t incomplete = 0; // kept with fewer pictures than the clip names
  size_t failed = 0;
  size_t skipped = 0;     // refused
  size_t interrupted = 0; // stopped, or not started, because of an interrupt
  int interruptedBy = 0;  // the signal that stopped the run, if one did
};

// The clips of `jobs` and the bytes of those that are to be converted.
RunTotals TotalsOf(const std::vector<ClipJob> &jobs);

// Converts the clips of `jobs` on `threads` threads, each conversion with a cancel flag of its
// own, raised once `interrupted` holds a signal number: clips in hand stop at their next picture
// and leave nothing, clips not started are not converted. Workers report through `display`, whose
// slots must number `threads` at least.
RunSummary ConvertClips(const std::vector<ClipJob> &jobs, size_t threads, ClipChoices choices,
                        const std::atomic<int> &interrupted, ProgressDisplay &display);

// "3 converted, 1 incomplete, 0 failed, 0 skipped"; when a signal stopped the run, after
// "Interrupted: " and followed by ", 2 interrupted".
std::string SummaryText(const RunSummary &summary);

int ExitStatusOf(const RunSummary &summary);

} // namespace reelcraft
