// SPDX-License-Identifier: MIT
#pragma once

#include "sys/file_operation.h"
#include "sys/message_sink.h"
#include "ui/qt_events.h"

#include <chrono>
#include <memory>
#include <optional>

class QDialog;
class QProgressBar;
class QWidget;

namespace reelcraft {

// How long a copy runs before its window appears. A shorter copy is over before the window could
// be read, and a window that comes and goes takes the activation from its owner and gives the
// user nothing to watch; a desktop's own file copy waits about as long.
constexpr std::chrono::milliseconds kCopyWindowDelay{1000};

// The window that a copy or move shows while its bytes travel, once they have travelled for
// `showAfter`: the operation's title, a bar and a Cancel button that aborts it; the replace
// question is a Yes/No box. Events are handled between chunks, so the owner and the window stay
// live and Cancel reaches the operation. When the window closes, its owner is the active window
// again.
class QtCopyProgress : public CopyObserver {
public:
  QtCopyProgress(QWidget *owner, MessageSink &messages,
                 std::chrono::milliseconds showAfter = kCopyWindowDelay);
  ~QtCopyProgress() override;

  void Begin(const std::string &title, uint64_t totalBytes) override;
  bool Progress(uint64_t doneBytes, uint64_t totalBytes) override;
  bool AskReplace(const std::string &path) override;
  void End() override;

  // The window while the operation runs, else null.
  QDialog *window() const { return window_.get(); }

private:
  QWidget *owner_;
  MessageSink &messages_;
  std::chrono::milliseconds showAfter_;
  // Runs from the first bytes on, so that the time a replace question waits does not count.
  std::optional<std::chrono::steady_clock::time_point> copyStart_;
  std::unique_ptr<QDialog> window_;
  QProgressBar *bar_ = nullptr;
  bool cancelled_ = false;
  std::optional<NormalCursor> pointer_;
};

} // namespace reelcraft
