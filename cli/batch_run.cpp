#include "cli/batch_run.h"

#include "cli/clip_to_avi.h"
#include "cli/display_messages.h"

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
  uint64_t size = std::filesystem::file_size(path, error);
  return error ? 0 : size;
}

class Run {
public:
  Run(const std::vector<ClipJob> &jobs, bool replace, const std::atomic<int> &interrupted,
      ProgressDisplay &display)
      : jobs_(jobs), replace_(replace), interrupted_(interrupted), display_(display) {}

  void Work(size_t slot) {
    for (size_t index = next_++; index < jobs_.size(); index = next_++)
      Count(Convert(jobs_[index], slot));
  }

  RunSummary summary() const { return summary_; }

private:
  ClipOutcome Convert(const ClipJob &job, size_t slot) {
    DisplayMessages messages(display_, job.clip);
    if (!job.refusal.empty()) {
      messages.Show(job.refusal);
      return ClipOutcome::Skipped;
    }
    if (interrupted_ != 0)
      return ClipOutcome::Interrupted;
    CancelFlag cancelFlag{0};
    ClipProgress progress;
    InterruptPump pump(interrupted_, cancelFlag);
    ProgressControl control{progress, pump};
    display_.Started(slot, job.clip, FileSize(job.clip), progress);
    ClipOutcome outcome =
        ConvertClipToAvi(job.clip, job.output, replace_, &control, cancelFlag, messages);
    display_.Finished(slot);
    return outcome;
  }

  void Count(ClipOutcome outcome) {
    std::lock_guard lock(mutex_);
    switch (outcome) {
    case ClipOutcome::Converted:
      ++summary_.converted;
      break;
    case ClipOutcome::Failed:
      ++summary_.failed;
      break;
    case ClipOutcome::Skipped:
    case ClipOutcome::Interrupted:
      ++summary_.skipped;
      break;
    }
  }

  const std::vector<ClipJob> &jobs_;
  bool replace_;
  const std::atomic<int> &interrupted_;
  ProgressDisplay &display_;
  std::atomic<size_t> next_{0};
  std::mutex mutex_;
  RunSummary summary_;
};

} // namespace

RunSummary ConvertClips(const std::vector<ClipJob> &jobs, size_t threads, bool replace,
                        const std::atomic<int> &interrupted, ProgressDisplay &display) {
  Run run(jobs, replace, interrupted, display);
  std::vector<std::jthread> workers;
  for (size_t slot = 1; slot < threads; ++slot)
    workers.emplace_back([&run, slot] { run.Work(slot); });
  run.Work(0);
  workers.clear();
  RunSummary summary = run.summary();
  summary.interrupted = interrupted != 0;
  return summary;
}

std::string SummaryText(const RunSummary &summary) {
  return std::string(summary.interrupted ? "Interrupted: " : "") +
         std::to_string(summary.converted) + " converted, " + std::to_string(summary.failed) +
         " failed, " + std::to_string(summary.skipped) + " skipped";
}

ExitStatus ExitStatusOf(const RunSummary &summary) {
  if (summary.interrupted)
    return kExitInterrupted;
  return summary.failed == 0 && summary.skipped == 0 ? kExitConverted : kExitFailed;
}

} // namespace reelcraft
