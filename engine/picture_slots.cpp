// SPDX-License-Identifier: MIT
#include "engine/picture_slots.h"

#include <algorithm>
#include <cmath>

namespace reelcraft {

PictureSlots::PictureSlots(const SoundTimeline *timeline, double soundBytesPerSlot)
    : timeline_(soundBytesPerSlot > 0 ? timeline : nullptr), soundBytesPerSlot_(soundBytesPerSlot) {
}

// How many pictures' spacing `distance` bytes of the stream held, one at least.
uint32_t PictureSlots::StrideSlots(uint64_t distance) const {
  // Before two pictures in a row, the picture before the damage is all there is to go by.
  double stride = strides_ > 0 ? double(strideSum_) / double(strides_) : double(end_ - start_);
  if (stride <= 0)
    return 1;
  return uint32_t(std::max<double>(1, std::llround(double(distance) / stride)));
}

uint32_t PictureSlots::Place(uint64_t start, uint64_t end, bool afterDamage) {
  if (!placed_) {
    placed_ = true;
    start_ = start;
    end_ = end;
    if (timeline_)
      firstSlotTime_ = SlotsBefore(timeline_->SoundBytesBefore(start));
    return slot_ = 0;
  }
  uint32_t slot = slot_ + 1;
  if (!afterDamage) {
    strideSum_ += start - start_;
    ++strides_;
  } else if (timeline_) {
    // Against the clip's first picture, so that the rounding of one stretch does not add up
    // over many.
    double time = SlotsBefore(timeline_->SoundBytesBefore(start)) - firstSlotTime_;
    slot = std::max<uint32_t>(slot, uint32_t(std::max<long long>(0, std::llround(time))));
  } else {
    slot = slot_ + StrideSlots(start - start_);
  }
  start_ = start;
  end_ = end;
  return slot_ = slot;
}

uint32_t PictureSlots::Total(uint64_t end, bool afterDamage) const {
  uint32_t total = slot_ + 1;
  if (!placed_ || !afterDamage)
    return total;
  if (timeline_) {
    double time = SlotsBefore(timeline_->soundBytes) - firstSlotTime_;
    return std::max<uint32_t>(total, uint32_t(std::max<long long>(0, std::llround(time))));
  }
  return slot_ + StrideSlots(end - start_);
}

} // namespace reelcraft
