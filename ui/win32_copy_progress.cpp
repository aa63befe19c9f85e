// SPDX-License-Identifier: MIT
#include "ui/win32_copy_progress.h"

#include "sys/win32_text.h"

#include <shlobj.h>

namespace reelcraft {

Win32CopyProgress::Win32CopyProgress(HWND owner, MessageSink &messages,
                                     std::chrono::milliseconds showAfter)
    : owner_(owner), messages_(messages), showAfter_(showAfter) {}

Win32CopyProgress::~Win32CopyProgress() { Close(); }

void Win32CopyProgress::Begin(const std::string &title, uint64_t) {
  title_ = title;
  copyStart_.reset();
}

bool Win32CopyProgress::Progress(uint64_t doneBytes, uint64_t totalBytes) {
  auto now = std::chrono::steady_clock::now();
  if (!copyStart_)
    copyStart_ = now;
  if (!window_ && now - *copyStart_ >= showAfter_) {
    // The window runs on a thread of its own: COM must be ready on this one to create it.
    HRESULT started = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    comStarted_ = SUCCEEDED(started);
    if (SUCCEEDED(CoCreateInstance(CLSID_ProgressDialog, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IProgressDialog, reinterpret_cast<void **>(&window_)))) {
      window_->SetTitle(WideText(title_).c_str());
      window_->StartProgressDialog(owner_, nullptr, PROGDLG_NORMAL | PROGDLG_NOMINIMIZE, nullptr);
    }
  }
  if (!window_)
    return true;
  window_->SetProgress64(doneBytes, totalBytes);
  return !window_->HasUserCancelled();
}

bool Win32CopyProgress::AskReplace(const std::string &path) {
  return messages_.Show(ReplaceQuestion(path), MessageButtons::YesNo, MessageIcon::Question) ==
         MessageAnswer::Yes;
}

void Win32CopyProgress::End() { Close(); }

void Win32CopyProgress::Close() {
  if (window_) {
    window_->StopProgressDialog();
    window_->Release();
    window_ = nullptr;
    if (owner_ && IsWindowVisible(owner_))
      SetActiveWindow(owner_);
  }
  if (comStarted_)
    CoUninitialize();
  comStarted_ = false;
  copyStart_.reset();
}

} // namespace reelcraft
