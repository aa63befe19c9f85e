// SPDX-License-Identifier: MIT
#pragma once

#include "engine/conversion_result.h"
#include "engine/picture_window.h"

#include <vector>

namespace reelcraft {

// The pictures of a stream one after another, as the window finds them; with salvage, also
// past what the window cannot read: a picture whose markers do not hold together is left out,
// and the walk goes on at the next one that is whole, noting each stretch it passed over.
class PictureWalk {
public:
  PictureWalk(PictureWindow &window, bool salvage) : window_(window), salvage_(salvage) {}

  bool First(RawFile &file, uint32_t dataOffset, uint32_t dataSize, PictureBytes &picture);
  bool Next(PictureBytes &picture);

  // The stretches passed over, in offsets from the stream's start.
  const std::vector<DamagedStretch> &damaged() const { return damaged_; }

private:
  bool Checked(bool found, PictureBytes &picture);

  PictureWindow &window_;
  bool salvage_;
  std::vector<DamagedStretch> damaged_;
};

} // namespace reelcraft
