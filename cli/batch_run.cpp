// SPDX-License-Identifier: MIT
#include "cli/batch_run.h"

#include "cli/clip_to_avi.h"
#include "cli/progress_display_messages.h"
#include "sys/error_text.h"
#include "sys/file_system.h"
#include "sys/paths.h"

#include <cerrno>
#include <filesystem>
#include <mutex>
#include <thread>

namespace reelcraft {

namespace {

// The command line has no events to run; between pictures the engine's pump is where an
// interrupt reaches the conversion's own flag. The engine clears that flag as it starts, so an
// interrupt that came earlier is passed on again here rather than lost.
class InterruptPump : public Pump {
public:
  InterruptPump(const std::atomic<int> &interrupted, CancelFlag &cancelFlag)
      : interrupted_(interrupted), cancelFlag_(cancelFlag) {}
  void RunPending() override {
    if (interrupted_ != 0)
      cancelFlag_ = 1;
  }

private:
  const std::atomic<int> &interrupted_;
  CancelFlag &cancelFlag_;
};

uint64_t FileSize(const std::string &path) {
  std::error_code error;
  uint64_t size = std::filesystem::file_size(FsPath(path), error);
  return error ? 0 : size;
}

// The clips of a run, taken one at a time by each worker thread, and the tally of how they
// ended.
class JobQueue {
public:
  JobQueue(const std::vector<ClipJob> &jobs, ClipChoices choices,
           const std::atomic<int> &interrupted, ProgressDisplay &display)
      : jobs_(jobs), choices_(choices), interrupted_(interrupted), display_(display) {}

  void Work(size_t slot) {
    for (size_t index = next_++; index < jobs_.size(); index = next_++) {
      ClipProgress progress; // outlives the conversion: the display reads it until Finished
      ClipOutcome outcome = Convert(jobs_[index], slot, progress);
      display_.Finished(slot, jobs_[index].clip, outcome);
      Count(outcome);
    }
  }

  RunSummary summary() const { return summary_; }

private:
  ClipOutcome Convert(const ClipJob &job, size_t slot, ClipProgress &progress) {
    ProgressDisplayMessages messages(display_, job.clip);
    if (!job.refusal.empty()) {
      messages.Show(job.refusal);
      return {ClipState::Skipped};
    }
    if (interrupted_ != 0)
      return {ClipState::Interrupted};
    if (job.makeFolder && !CreateFolders(ParentFolder(job.output))) {
      messages.Show("Could not create the folder of " + job.output + ":\n" +
                    FileErrorText(errno, ParentFolder(job.output)));
      return {ClipState::Failed};
    }
    CancelFlag cancelFlag{0};
    InterruptPump pump(interrupted_, cancelFlag);
    ProgressControl control{progress, pump};
    display_.Started(slot, job.clip, FileSize(job.clip), progress);
    return ConvertClipToAvi(job.clip, job.output, choices_, &control, cancelFlag, messages,
                            &placed_);
  }

  void Count(const ClipOutcome &outcome) {
    std::lock_guard lock(mutex_);
    switch (outcome.state) {
    case ClipState::Converted:
      ++summary_.converted;
      break;
    case ClipState::Incomplete:
      ++summary_.incomplete;
      break;
    case ClipState::Failed:
      ++summary_.failed;
      break;
    case ClipState::Skipped:
      ++summary_.skipped;
      break;
    case ClipState::Interrupted:
      ++summary_.interrupted;
      break;
    }
  }

  const std::vector<ClipJob> &jobs_;
  ClipChoices choices_;
  const std::atomic<int> &interrupted_;
  ProgressDisplay &display_;
  std::atomic<size_t> next_{0};
  PlacedOutputs placed_;
  std::mutex mutex_;
  RunSummary summary_;
};

} // namespace

RunTotals TotalsOf(const std::vector<ClipJob> &jobs) {
  RunTotals totals{jobs.size(), 0};
  for (const ClipJob &job : jobs) {
    if (job.refusal.empty())
      totals.bytes += FileSize(job.clip);
  }
  return totals;
}

RunSummary ConvertClips(const std::vector<ClipJob> &jobs, size_t threads, ClipChoices choices,
                        const std::atomic<int> &interrupted, ProgressDisplay &display) {
  JobQueue queue(jobs, choices, interrupted, display);
  std::vector<std::jthread> workers;
  for (size_t slot = 1; slot < threads; ++slot)
    workers.emplace_back([&queue, slot] { queue.Work(slot); });
  queue.Work(0);
  workers.clear();
  RunSummary summary = queue.summary();
  summary.interruptedBy = interrupted;
  return summary;
}

std::string SummaryText(const RunSummary &summary) {
  return std::string(summary.interruptedBy ? "Interrupted: " : "") +
         std::to_string(summary.converted) + " converted, " + std::to_string(summary.incomplete) +
         " incomplete, " + std::to_string(summary.failed) + " failed, " +
         std::to_string(summary.skipped) + " skipped" +
         (summary.interruptedBy ? ", " + std::to_string(summary.interrupted) + " interrupted"
                                : std::string());
}

int ExitStatusOf(const RunSummary &summary) {
  if (summary.interruptedBy)
    return 128 + summary.interruptedBy;
  return summary.failed == 0 && summary.incomplete == 0 && summary.skipped == 0 ? kExitConverted
                                                                                : kExitFailed;
}

} // namespace reelcraft
