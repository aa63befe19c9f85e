// SPDX-License-Identifier: MIT
#pragma once

#include "sys/file_operation.h"
#include "sys/message_sink.h"

#include <chrono>
#include <optional>
#include <string>
#include <windows.h>

struct IProgressDialog;

namespace reelcraft {

// How long a copy runs before its window appears, as the desktop's own copy waits.
constexpr std::chrono::milliseconds kCopyWindowDelay{1000};

// The shell's own progress window for a copy or move, once its bytes have travelled for
// `showAfter`: the operation's title, a bar and a Cancel button that aborts it; the replace
// question is a Yes/No box. The owner is the active window again when it closes.
class Win32CopyProgress : public CopyObserver {
public:
  Win32CopyProgress(HWND owner, MessageSink &messages,
                    std::chrono::milliseconds showAfter = kCopyWindowDelay);
  ~Win32CopyProgress() override;
  Win32CopyProgress(const Win32CopyProgress &) = delete;
  Win32CopyProgress &operator=(const Win32CopyProgress &) = delete;

  void Begin(const std::string &title, uint64_t totalBytes) override;
  bool Progress(uint64_t doneBytes, uint64_t totalBytes) override;
  bool AskReplace(const std::string &path) override;
  void End() override;

private:
  void Close();

  HWND owner_;
  MessageSink &messages_;
  std::chrono::milliseconds showAfter_;
  std::string title_;
  std::optional<std::chrono::steady_clock::time_point> copyStart_;
  IProgressDialog *window_ = nullptr;
  bool comStarted_ = false;
};

} // namespace reelcraft
