// SPDX-License-Identifier: MIT
#pragma once

#include "engine/jpeg_structure.h"
#include "engine/picture_check.h"

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <span>
#include <thread>
#include <vector>

namespace reelcraft {

// The decode that judges a picture is most of a salvage's time: this one judges a copy of the
// picture after the one in hand on a thread of its own while the caller judges the one in hand,
// and hands the verdict over when the walk comes to that picture. A verdict depends on nothing
// but the bytes and the clip's size, so one taken is the verdict the caller would have reached.
class PictureCheckAhead {
public:
  PictureCheckAhead() = default;
  ~PictureCheckAhead();
  PictureCheckAhead(const PictureCheckAhead &) = delete;
  PictureCheckAhead &operator=(const PictureCheckAhead &) = delete;

  // Starts judging `picture`, which begins at `streamOffset`, at the clip's size; the bytes are
  // copied. Once at most: one started must be taken first. Where no thread can be had, nothing
  // starts, and Take finds nothing.
  void Start(uint64_t streamOffset, std::span<const uint8_t> picture,
             const JpegStructure &structure, uint16_t width, uint16_t height);
  // The verdict of the picture started, waited for, where it is the one at `streamOffset` of
  // `length` bytes; nothing otherwise. Either way the next may be started.
  std::optional<PictureVerdict> Take(uint64_t streamOffset, size_t length);

private:
  void Work();

  // Made for the first picture started, used by the thread alone.
  std::optional<PictureCheck> check_;
  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<uint8_t> bytes_;
  JpegStructure structure_;
  uint64_t streamOffset_ = 0;
  bool started_ = false; // by the caller, not yet taken
  bool waiting_ = false; // for the thread
  bool stopping_ = false;
  PictureVerdict verdict_ = PictureVerdict::Damaged;
};

} // namespace reelcraft
