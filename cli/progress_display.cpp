// SPDX-License-Identifier: MIT
#include "cli/progress_display.h"

#include "cli/json_text.h"
#include "cli/terminal.h"
#include "sys/paths.h"

#include <filesystem>

namespace reelcraft {

namespace {
constexpr std::chrono::milliseconds kRedrawInterval{250};
// A plain line comes when a clip is done, but not more often than this, and at the latest after
// the longer interval: enough to follow, few enough for a log.
constexpr std::chrono::seconds kPlainInterval{1};
constexpr std::chrono::seconds kPlainQuietInterval{10};
// For a terminal that does not tell its width.
constexpr size_t kDefaultColumns = 80;
// Erases from the cursor to the end of the line.
constexpr char kClearLine[] = "\r\033[K";

const char *StateOf(ClipState state) {
  switch (state) {
  case ClipState::Converted:
    return "converted";
  case ClipState::Incomplete:
    return "incomplete";
  case ClipState::Failed:
    return "failed";
  case ClipState::Skipped:
    return "skipped";
  case ClipState::Interrupted:
    break;
  }
  return "interrupted";
}

uint64_t BytesOf(double fraction, uint64_t size) { return uint64_t(fraction * double(size)); }

} // namespace

ProgressDisplay::ProgressDisplay(ProgressStyle style, std::FILE *out, RunTotals totals,
                                 size_t workers)
    : style_(style), out_(out), totals_(totals), slots_(workers) {
  if (style_ != ProgressStyle::None)
    thread_ = std::thread([this] { Run(); });
}

ProgressDisplay::~ProgressDisplay() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  if (thread_.joinable())
    thread_.join();
  std::lock_guard lock(mutex_);
  // The last state of a run in plain lines, unless the line before told it already.
  if (style_ == ProgressStyle::Plain && done_ != doneAtLastLine_)
    Draw();
  Erase();
}

void ProgressDisplay::Started(size_t slot, const std::string &clip, uint64_t size,
                              const ClipProgress &progress) {
  std::lock_guard lock(mutex_);
  slots_.at(slot) = {clip, size, &progress};
  if (style_ == ProgressStyle::Json)
    WriteLine(JsonLine(clip, "started", 0, size));
}

void ProgressDisplay::Finished(size_t slot, const std::string &clip, const ClipOutcome &outcome) {
  std::lock_guard lock(mutex_);
  Slot &finished = slots_.at(slot);
  if (style_ == ProgressStyle::Json) {
    bool kept = outcome.state == ClipState::Converted || outcome.state == ClipState::Incomplete;
    double fraction = kept ? 1
                      : finished.progress && outcome.state != ClipState::Skipped
                          ? finished.progress->Fraction()
                          : 0;
    nlohmann::ordered_json line =
        JsonLine(clip, StateOf(outcome.state), BytesOf(fraction, finished.size), finished.size);
    if (kept) {
      line["picturesWritten"] = outcome.picturesWritten;
      line["picturesExpected"] = outcome.picturesExpected;
      if (outcome.damagedStretches) {
        line["damagedStretches"] = *outcome.damagedStretches;
        line["picturesLeftOut"] = outcome.picturesLeftOut;
        line["picturesForeign"] = outcome.picturesForeign;
        line["headerGuessed"] = outcome.headerGuessed;
      }
    }
    WriteLine(line);
  }
  ++done_;
  bytesDone_ += finished.size;
  finished = {};
}

void ProgressDisplay::Interject(const std::function<void()> &write) {
  std::lock_guard lock(mutex_);
  Erase();
  write();
}

StatusSnapshot ProgressDisplay::Snapshot() const {
  std::lock_guard lock(mutex_);
  return SnapshotLocked();
}

StatusSnapshot ProgressDisplay::SnapshotLocked() const {
  StatusSnapshot snapshot;
  snapshot.done = done_;
  snapshot.total = totals_.clips;
  snapshot.bytesTotal = double(totals_.bytes);
  double bytes = double(bytesDone_);
  for (const Slot &slot : slots_) {
    if (!slot.progress)
      continue;
    double fraction = slot.progress->Fraction();
    bytes += fraction * double(slot.size);
    snapshot.inHand.push_back({TerminalSafeText(Utf8Path(FsPath(slot.clip).filename())), fraction});
  }
  snapshot.bytesDone = bytes;
  std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start_;
  snapshot.bytesPerSecond = elapsed.count() > 0 ? bytes / elapsed.count() : 0;
  return snapshot;
}

void ProgressDisplay::Run() {
  std::unique_lock lock(mutex_);
  while (!wake_.wait_for(lock, kRedrawInterval, [this] { return stopping_; })) {
    auto sinceLine = std::chrono::steady_clock::now() - lastLine_;
    bool plainDue = (done_ != doneAtLastLine_ && sinceLine >= kPlainInterval) ||
                    sinceLine >= kPlainQuietInterval;
    if (style_ != ProgressStyle::Plain || plainDue)
      Draw();
  }
}

void ProgressDisplay::Draw() {
  switch (style_) {
  case ProgressStyle::None:
    return;
  case ProgressStyle::Terminal:
    std::fputs((kClearLine + Line()).c_str(), out_);
    drawn_ = true;
    break;
  case ProgressStyle::Plain:
    std::fputs((Line() + "\n").c_str(), out_);
    doneAtLastLine_ = done_;
    lastLine_ = std::chrono::steady_clock::now();
    break;
  case ProgressStyle::Json:
    for (const Slot &slot : slots_) {
      if (slot.progress)
        WriteLine(JsonLine(slot.clip, "converting", BytesOf(slot.progress->Fraction(), slot.size),
                           slot.size));
    }
    break;
  }
  std::fflush(out_);
}

std::string ProgressDisplay::Line() const {
  size_t columns = TerminalColumns(out_);
  if (columns == 0 && style_ == ProgressStyle::Terminal)
    columns = kDefaultColumns;
  return StatusLine(SnapshotLocked(), columns);
}

nlohmann::ordered_json ProgressDisplay::JsonLine(const std::string &clip, const char *state,
                                                 uint64_t bytesDone, uint64_t size) {
  return WithPathFields("clip", clip,
                        {{"state", state}, {"bytesDone", bytesDone}, {"bytesTotal", size}});
}

void ProgressDisplay::WriteLine(const nlohmann::ordered_json &line) {
  std::fputs((JsonText(line) + "\n").c_str(), out_);
  std::fflush(out_);
}

void ProgressDisplay::Erase() {
  if (!drawn_)
    return;
  std::fputs(kClearLine, out_);
  std::fflush(out_);
  drawn_ = false;
}

} // namespace reelcraft
