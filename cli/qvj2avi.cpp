// SPDX-License-Identifier: MIT
// qvj2avi: converts .qvj clips into AVI files from the command line.
#include "cli/batch_run.h"
#include "cli/cli_options.h"
#include "cli/clip_info.h"
#include "cli/clip_search.h"
#include "cli/clip_to_avi.h"
#include "cli/console_messages.h"
#include "cli/interrupt_signal.h"
#include "cli/json_text.h"
#include "cli/terminal.h"
#include "sys/standard_streams.h"
#include "sys/version.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace reelcraft {

namespace {

const char kProgram[] = "qvj2avi";

int UsageError(const std::string &error) {
  std::fprintf(stderr, "%s: %s\nTry '%s --help'.\n", kProgram, TerminalSafeText(error).c_str(),
               kProgram);
  return kExitUsage;
}

// Keeps what the header reader says, for a reader of JSON rather than a person.
class KeptMessages : public MessageSink {
public:
  MessageAnswer Show(const std::string &text, MessageButtons, MessageIcon) override {
    text_ += (text_.empty() ? "" : "\n") + text;
    return MessageAnswer::Ok;
  }
  const std::string &text() const { return text_; }

private:
  std::string text_;
};

int ShowClipInfo(const std::vector<FoundClip> &clips, bool json, bool salvage,
                 const std::optional<ClipHeader> &like) {
  int status = kExitConverted;
  nlohmann::ordered_json infos = nlohmann::ordered_json::array();
  for (const FoundClip &found : clips) {
    KeptMessages kept;
    ClipHeader header;
    std::string problem;
    HeaderFault fault = found.refusal.empty() ? ReadClipHeaderQuietly(found.clip, header, problem)
                                              : HeaderFault::Unopened;
    bool read = fault == HeaderFault::None;
    ConversionResult scan;
    // A salvage looks for the pictures of a file without a clip's header too.
    bool scanned = salvage && (read || fault == HeaderFault::Unrecognised) &&
                   (scan = ScanClip(found.clip, kept, like)).state != ConversionState::Failed;
    if (salvage && read && !scanned)
      read = false;
    std::string error = !found.refusal.empty() ? found.refusal
                        : !problem.empty()     ? problem
                                               : kept.text();
    if (!read && !scanned)
      status = kExitFailed;
    if (fault == HeaderFault::Unrecognised && !salvage)
      error += std::string("\n") + kUnrecognisedHint;
    if (json && scanned && !read) {
      infos.push_back(WithPathFields("path", found.clip, {{"error", error}}));
      AddSalvageScan(infos.back(), scan);
    } else if (!json && scanned && !read) {
      std::string text = found.clip + ": " + error + "\n" + SalvageScanText(scan);
      std::fputs(TerminalSafeText(text).c_str(), stdout);
    } else if (json && read) {
      infos.push_back(ClipInfoJson(found.clip, header));
      if (salvage)
        AddSalvageScan(infos.back(), scan);
    } else if (json) {
      infos.push_back(WithPathFields("path", found.clip, {{"error", error}}));
    } else if (read) {
      std::string text = ClipInfoText(found.clip, header) + (salvage ? SalvageScanText(scan) : "");
      std::fputs(TerminalSafeText(text).c_str(), stdout);
    } else {
      ConsoleMessages(found.clip).Show(error, MessageButtons::Ok, MessageIcon::Exclamation);
    }
  }
  if (json)
    std::fputs((JsonText(infos) + "\n").c_str(), stdout);
  return status;
}

size_t ThreadCount(const CliOptions &options, size_t clips) {
  size_t jobs = options.jobs ? options.jobs : std::max(1u, std::thread::hardware_concurrency());
  return std::min(jobs, std::max<size_t>(clips, 1));
}

// A terminal that understands no escape sequences says so by its type, or by having none.
bool EscapesWork() {
  const char *type = std::getenv("TERM");
  return type && *type && std::string(type) != "dumb";
}

ProgressStyle StyleOf(const CliOptions &options) {
  if (options.progress == ProgressRequest::Json)
    return ProgressStyle::Json;
  bool terminal = IsTerminal(stderr);
  if (options.quiet || (!terminal && options.progress == ProgressRequest::Auto))
    return ProgressStyle::None;
  return terminal && EscapesWork() ? ProgressStyle::Terminal : ProgressStyle::Plain;
}

int ConvertAll(const CliOptions &options, const std::vector<FoundClip> &clips,
               const std::optional<ClipHeader> &like) {
  OutputPlan plan = PlanOutputs(clips, options.output);
  if (!plan.error.empty())
    return UsageError(plan.error);
  // A signal handler reaches only what outlives main.
  static std::atomic<int> interrupted{0};
  RaiseFlagOnInterrupt(interrupted);
  size_t threads = ThreadCount(options, plan.jobs.size());
  ProgressStyle style = StyleOf(options);
  RunSummary summary;
  {
    ProgressDisplay display(style, style == ProgressStyle::Json ? stdout : stderr,
                            TotalsOf(plan.jobs), threads);
    summary = ConvertClips(plan.jobs, threads, {options.force, options.salvage, like}, interrupted,
                           display);
  }
  if (!options.quiet)
    std::fprintf(stderr, "%s\n", SummaryText(summary).c_str());
  return ExitStatusOf(summary);
}

// A run whose standard output did not reach its reader in full has failed.
int Printed(int status) {
  return std::fflush(stdout) == 0 && !std::ferror(stdout) ? status : kExitFailed;
}

} // namespace

} // namespace reelcraft

int main(int argc, char **argv) {
  using namespace reelcraft;
  OpenClosedStandardStreams();
  IgnoreBrokenPipes();
  IgnoreFileSizeLimit();
  CliParse parse = ParseCliOptions(ProgramArguments(argc, argv));
  if (!parse.options)
    return UsageError(parse.error);
  const CliOptions &options = *parse.options;
  if (options.help) {
    std::fputs(UsageText(kProgram).c_str(), stdout);
    return Printed(kExitConverted);
  }
  if (options.version) {
    std::printf("%s %s\n", kProgram, kVersionName);
    return Printed(kExitConverted);
  }
  std::optional<ClipHeader> like;
  if (!options.like.empty()) {
    ClipHeader header;
    ConsoleMessages messages(options.like);
    if (!ReadClipHeader(options.like, header, messages))
      return kExitFailed;
    like = header;
  }
  std::vector<FoundClip> clips = FindClips(options.clips, options.recursive);
  if (options.info)
    return Printed(ShowClipInfo(clips, options.json, options.salvage, like));
  int status = ConvertAll(options, clips, like);
  return options.progress == ProgressRequest::Json ? Printed(status) : status;
}
