// SPDX-License-Identifier: MIT
#pragma once

#include "engine/clip_blocks.h"

#include <cstdint>

namespace reelcraft {

// The time slot of each picture a salvage keeps, so that a picture left out or lost in a
// damaged stretch leaves its slot empty and the pictures after it stay with the sound. Pictures
// without damage between them take consecutive slots. Across damage, the sound blocks between
// two pictures tell how much time passed; in a clip without sound, the stretch's length over the
// pictures' usual spacing.
class PictureSlots {
public:
  // `timeline`: the clip's sound blocks, or null for a clip without sound (or a sound without a
  // rate). `soundBytesPerSlot`: the bytes of sound in the time of one picture.
  PictureSlots(const SoundTimeline *timeline, double soundBytesPerSlot);

  // The slot of the next picture, which lies from stream offset `start` to `end`; the first
  // takes 0.
  uint32_t Place(uint64_t start, uint64_t end, bool afterDamage);
  // The slots of the whole clip, whose picture stream ends at `end`: one past the last
  // picture's, and after damage at the end as many more as the damage held.
  uint32_t Total(uint64_t end, bool afterDamage) const;

private:
  double SlotsBefore(uint64_t soundBytes) const { return double(soundBytes) / soundBytesPerSlot_; }
  uint32_t StrideSlots(uint64_t distance) const;

  const SoundTimeline *timeline_;
  double soundBytesPerSlot_;
  bool placed_ = false;
  uint32_t slot_ = 0;
  uint64_t start_ = 0;
  uint64_t end_ = 0;
  double firstSlotTime_ = 0; // in slots of the sound, where the first picture stands
  uint64_t strideSum_ = 0;
  uint64_t strides_ = 0;
};

} // namespace reelcraft
