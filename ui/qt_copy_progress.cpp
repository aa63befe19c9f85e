// SPDX-License-Identifier: MIT
#include "ui/qt_copy_progress.h"

#include "ui/qt_events.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace reelcraft {

namespace {

constexpr int kBarSteps = 1000;

} // namespace

QtCopyProgress::QtCopyProgress(QWidget *owner, MessageSink &messages,
                               std::chrono::milliseconds showAfter)
    : owner_(owner), messages_(messages), showAfter_(showAfter) {}

QtCopyProgress::~QtCopyProgress() = default;

// Escape and the close box reject the window, which counts as Cancel.
void QtCopyProgress::Begin(const std::string &title, uint64_t) {
  cancelled_ = false;
  copyStart_.reset();
  pointer_.emplace();
  window_ = std::make_unique<QDialog>(owner_ ? owner_->window() : nullptr,
                                      Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                          Qt::WindowCloseButtonHint);
  window_->setWindowTitle(FromLocal(title));
  window_->setWindowModality(owner_ ? Qt::WindowModal : Qt::ApplicationModal);
  auto *layout = new QVBoxLayout(window_.get());
  bar_ = new QProgressBar;
  bar_->setRange(0, kBarSteps);
  bar_->setValue(0);
  bar_->setTextVisible(false);
  bar_->setAccessibleName(QCoreApplication::translate("CopyProgress", "Copy progress"));
  bar_->setAccessibleDescription(
      QCoreApplication::translate("CopyProgress", "How much of the file is written"));
  layout->addWidget(bar_);
  auto *buttons = new QDialogButtonBox(QDialogButtonBox::Cancel);
  buttons->button(QDialogButtonBox::Cancel)
      ->setAccessibleDescription(QCoreApplication::translate("CopyProgress", "Stops the copy"));
  layout->addWidget(buttons);
  QObject::connect(window_.get(), &QDialog::rejected, [this] { cancelled_ = true; });
  QObject::connect(buttons, &QDialogButtonBox::rejected, window_.get(), &QDialog::reject);
  window_->setMinimumWidth(360);
}

// A window comes too late once every byte is done, as at the one report of a rename.
bool QtCopyProgress::Progress(uint64_t doneBytes, uint64_t totalBytes) {
  auto now = std::chrono::steady_clock::now();
  if (!copyStart_)
    copyStart_ = now;
  if (window_ && !window_->isVisible() && doneBytes < totalBytes && now - *copyStart_ >= showAfter_)
    window_->show();
  if (bar_) {
    uint64_t shown =
        totalBytes == 0 ? kBarSteps : std::min(doneBytes, totalBytes) * kBarSteps / totalBytes;
    bar_->setValue(int(shown));
  }
  QCoreApplication::processEvents();
  return !cancelled_;
}

bool QtCopyProgress::AskReplace(const std::string &path) {
  return messages_.Show(ReplaceQuestion(path), MessageButtons::YesNo, MessageIcon::Question) ==
         MessageAnswer::Yes;
}

void QtCopyProgress::End() {
  bool shown = window_ && window_->isVisible();
  bar_ = nullptr;
  window_.reset();
  pointer_.reset();
  if (shown)
    ReturnActivation(owner_);
}

} // namespace reelcraft
