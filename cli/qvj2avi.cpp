// qvj2avi: converts .qvj clips into AVI files from the command line.
#include "cli/batch_run.h"
#include "cli/cli_options.h"
#include "cli/clip_info.h"
#include "cli/console_messages.h"
#include "cli/interrupt_signal.h"
#include "cli/terminal.h"
#include "sys/standard_streams.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace reelcraft {

namespace {

const char kProgram[] = "qvj2avi";

ExitStatus UsageError(const std::string &error) {
  std::fprintf(stderr, "%s: %s\nTry '%s --help'.\n", kProgram, TerminalSafeText(error).c_str(),
               kProgram);
  return kExitUsage;
}

ExitStatus ShowClipInfo(const std::vector<std::string> &clips) {
  ExitStatus status = kExitConverted;
  for (const std::string &clip : clips) {
    ConsoleMessages messages(clip);
    ClipHeader header;
    if (ReadClipHeader(clip, header, messages))
      std::fputs(TerminalSafeText(ClipInfoText(clip, header)).c_str(), stdout);
    else
      status = kExitFailed;
  }
  return status;
}

size_t ThreadCount(const CliOptions &options) {
  size_t jobs = options.jobs ? options.jobs : std::max(1u, std::thread::hardware_concurrency());
  return std::min(jobs, options.clips.size());
}

ExitStatus ConvertAll(const CliOptions &options) {
  OutputPlan plan = PlanOutputs(options.clips, options.output);
  if (!plan.error.empty())
    return UsageError(plan.error);
  // A signal handler reaches only what outlives main.
  static std::atomic<int> interrupted{0};
  RaiseFlagOnInterrupt(interrupted);
  size_t threads = ThreadCount(options);
  std::FILE *terminal = !options.quiet && IsTerminal(stderr) ? stderr : nullptr;
  RunSummary summary;
  {
    ProgressDisplay display(terminal, plan.jobs.size(), threads);
    summary = ConvertClips(plan.jobs, threads, options.force, interrupted, display);
  }
  if (!options.quiet)
    std::fprintf(stderr, "%s\n", SummaryText(summary).c_str());
  return ExitStatusOf(summary);
}

// A run whose standard output did not reach its reader in full has failed.
ExitStatus Printed(ExitStatus status) {
  return std::fflush(stdout) == 0 && !std::ferror(stdout) ? status : kExitFailed;
}

} // namespace

} // namespace reelcraft

int main(int argc, char **argv) {
  using namespace reelcraft;
  OpenClosedStandardStreams();
  IgnoreBrokenPipes();
  CliParse parse = ParseCliOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (!parse.options)
    return UsageError(parse.error);
  const CliOptions &options = *parse.options;
  if (options.help) {
    std::fputs(UsageText(kProgram).c_str(), stdout);
    return Printed(kExitConverted);
  }
  if (options.info)
    return Printed(ShowClipInfo(options.clips));
  return ConvertAll(options);
}
