// SPDX-License-Identifier: MIT
#include "engine/sound_store.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace reelcraft {

bool SoundStore::Take(const uint8_t *sound, size_t size) {
  if (failure_)
    return false;
  // Once, at its full size: growing it would copy it and touch fresh pages at every step. Only
  // the pages the sound fills count against the process.
  if (held_.capacity() == 0)
    held_.reserve(kHeldInMemory + kClipBlockSize);
  held_.insert(held_.end(), sound, sound + size);
  length_ += size;
  // Past memory's share, the sound goes on to the scratch file a piece at a time.
  size_t spillAt = scratchMade_ ? kIoPieceSize : kHeldInMemory;
  return held_.size() < spillAt || Spill();
}

// Writes what memory holds to the scratch file, made the first time.
bool SoundStore::Spill() {
  if (!scratchMade_) {
    std::optional<std::string> folder = folder_ ? folder_ : TempFolder();
    if (!folder) {
      // Only a $TMPDIR too long to hold a name fails here.
      failure_ = FileFailure{"$TMPDIR", ENAMETOOLONG};
      return false;
    }
    if (!scratch_.Create(*folder)) {
      failure_ = FileFailure{*folder, errno};
      return false;
    }
    if (!spilled_.Create(scratch_.file())) {
      failure_ = FileFailure{scratch_.file().path, spilled_.error()};
      return false;
    }
    scratchMade_ = true;
  }
  // In the pieces the page cache serves best, however much memory held.
  for (size_t at = 0; at < held_.size(); at += kIoPieceSize) {
    if (!spilled_.Write(held_.data() + at, std::min(kIoPieceSize, held_.size() - at))) {
      failure_ = FileFailure{scratch_.file().path, spilled_.error()};
      return false;
    }
  }
  held_.clear();
  return true;
}

bool SoundStore::StartReadingBack() {
  reading_ = true;
  if (!scratchMade_)
    return true; // all in memory
  if (!Spill())
    return false;
  if (!spilled_.Close()) {
    failure_ = FileFailure{scratch_.file().path, spilled_.error()};
    return false;
  }
  if (!readBack_.OpenForReading(scratch_.file())) {
    failure_ = FileFailure{scratch_.file().path, readBack_.error()};
    return false;
  }
  return true;
}

bool SoundStore::ReadBack(void *buffer, size_t size) {
  if (failure_ || (!reading_ && !StartReadingBack()))
    return false;
  if (!readBack_.is_open()) {
    if (held_.size() - readAt_ < size)
      return false;
    std::memcpy(buffer, held_.data() + readAt_, size);
    readAt_ += size;
    return true;
  }
  for (size_t at = 0; at < size;) {
    size_t piece = std::min(kIoPieceSize, size - at);
    if (readBack_.Read(static_cast<uint8_t *>(buffer) + at, piece) != piece) {
      failure_ = FileFailure{scratch_.file().path, readBack_.error()};
      return false;
    }
    at += piece;
  }
  return true;
}

} // namespace reelcraft
