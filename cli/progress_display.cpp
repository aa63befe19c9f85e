#include "cli/progress_display.h"

#include "cli/terminal.h"

#include <filesystem>

namespace reelcraft {

namespace {
constexpr std::chrono::milliseconds kRedrawInterval{250};
// For a terminal that does not tell its width.
constexpr size_t kDefaultColumns = 80;
// Erases from the cursor to the end of the line.
constexpr char kClearLine[] = "\r\033[K";
} // namespace

ProgressDisplay::ProgressDisplay(std::FILE *terminal, size_t totalClips, size_t workers)
    : terminal_(terminal), totalClips_(totalClips), slots_(workers) {
  if (terminal_)
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
  Erase();
}

void ProgressDisplay::Started(size_t slot, const std::string &clip, uint64_t size,
                              const ClipProgress &progress) {
  std::lock_guard lock(mutex_);
  slots_.at(slot) = {TerminalSafeText(std::filesystem::path(clip).filename().string()), size,
                     &progress};
}

void ProgressDisplay::Finished(size_t slot) {
  std::lock_guard lock(mutex_);
  ++done_;
  bytesDone_ += slots_.at(slot).size;
  slots_.at(slot) = {};
}

void ProgressDisplay::Interject(const std::function<void()> &write) {
  std::lock_guard lock(mutex_);
  Erase();
  write();
}

StatusSnapshot ProgressDisplay::Snapshot() const {
  std::lock_guard lock(mutex_);
  StatusSnapshot snapshot;
  snapshot.done = done_;
  snapshot.total = totalClips_;
  double bytes = double(bytesDone_);
  for (const Slot &slot : slots_) {
    if (!slot.progress)
      continue;
    double fraction = slot.progress->Fraction();
    bytes += fraction * double(slot.size);
    snapshot.inHand.push_back({slot.name, fraction});
  }
  std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start_;
  snapshot.bytesPerSecond = elapsed.count() > 0 ? bytes / elapsed.count() : 0;
  return snapshot;
}

void ProgressDisplay::Run() {
  std::unique_lock lock(mutex_);
  while (!wake_.wait_for(lock, kRedrawInterval, [this] { return stopping_; })) {
    lock.unlock();
    StatusSnapshot snapshot = Snapshot();
    size_t columns = TerminalColumns(terminal_);
    std::string line = kClearLine + StatusLine(snapshot, columns ? columns : kDefaultColumns);
    lock.lock();
    if (stopping_)
      break;
    std::fputs(line.c_str(), terminal_);
    std::fflush(terminal_);
    drawn_ = true;
  }
}

void ProgressDisplay::Erase() {
  if (!drawn_)
    return;
  std::fputs(kClearLine, terminal_);
  std::fflush(terminal_);
  drawn_ = false;
}

} // namespace reelcraft
