// SPDX-License-Identifier: MIT
#include "engine/picture_check_ahead.h"

#include <system_error>

namespace reelcraft {

PictureCheckAhead::~PictureCheckAhead() {
  if (!thread_.joinable())
    return;
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

void PictureCheckAhead::Start(uint64_t streamOffset, std::span<const uint8_t> picture,
                              const JpegStructure &structure, uint16_t width, uint16_t height) {
  if (!thread_.joinable()) {
    // Without a thread to be had, the walk judges every picture itself.
    try {
      thread_ = std::thread([this] { Work(); });
    } catch (const std::system_error &) {
      return;
    }
  }
  {
    std::lock_guard lock(mutex_);
    bytes_.assign(picture.begin(), picture.end());
    structure_ = structure;
    streamOffset_ = streamOffset;
    if (!check_) {
      check_.emplace();
      check_->FixSize(width, height);
    }
    waiting_ = true;
  }
  started_ = true;
  changed_.notify_all();
}

std::optional<PictureVerdict> PictureCheckAhead::Take(uint64_t streamOffset, size_t length) {
  if (!started_)
    return std::nullopt;
  started_ = false;
  std::unique_lock lock(mutex_);
  // The bytes stay until the verdict is in, of use or not.
  changed_.wait(lock, [this] { return !waiting_; });
  if (streamOffset != streamOffset_ || length != bytes_.size())
    return std::nullopt;
  return verdict_;
}

void PictureCheckAhead::Work() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return waiting_ || stopping_; });
    if (stopping_)
      return;
    // The caller waits for the verdict before it touches the bytes again.
    lock.unlock();
    PictureVerdict verdict = check_->Judge(bytes_, structure_);
    lock.lock();
    verdict_ = verdict;
    waiting_ = false;
    changed_.notify_all();
  }
}

} // namespace reelcraft
