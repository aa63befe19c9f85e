#pragma once

#include "platform/file_operation.h"
#include "platform/message_sink.h"
#include "platform/qt_busy_cursor.h"

#include <memory>
#include <optional>

class QDialog;
class QProgressBar;
class QWidget;

namespace reelcraft {

// The window that a copy or move shows while its bytes travel: the operation's title, a bar
// and a Cancel button that aborts it; the replace question is a Yes/No box. Events are handled
// between chunks, so the window stays live and Cancel reaches the operation.
class QtCopyProgress : public CopyObserver {
public:
  QtCopyProgress(QWidget *owner, MessageSink &messages);
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
  std::unique_ptr<QDialog> window_;
  QProgressBar *bar_ = nullptr;
  bool cancelled_ = false;
  std::optional<NormalCursor> pointer_;
};

} // namespace reelcraft
