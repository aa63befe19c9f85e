// SPDX-License-Identifier: MIT
#include "engine/sound_store.h"

#include <cerrno>
#include <cstring>

namespace reelcraft {

bool SoundStore::Take(const uint8_t *sound, size_t size) {
  if (failure_)
    return false;
  held_.insert(held_.end(), sound, sound + size);
  length_ += size;
  return held_.size() < kHeldInMemory || Spill();
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
  if (!spilled_.Write(held_.data(), held_.size())) {
    failure_ = FileFailure{scratch_.file().path, spilled_.error()};
    return false;
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
  if (readBack_.Read(buffer, size) == size)
    return true;
  failure_ = FileFailure{scratch_.file().path, readBack_.error()};
  return false;
}

} // namespace reelcraft
