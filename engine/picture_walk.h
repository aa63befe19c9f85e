// SPDX-License-Identifier: MIT
#pragma once

#include "engine/conversion_result.h"
#include "engine/picture_check.h"
#include "engine/picture_check_ahead.h"
#include "engine/picture_window.h"

#include <optional>
#include <string>
#include <vector>

namespace reelcraft {

// What every reader of clips says when a clip holds no first picture, and when a later one is
// not found before the header's count.
std::string NoFirstPictureMessage();
std::string MissingPictureMessage();

// The pictures of a stream one after another, as the window finds them; with salvage, also
// past what the window cannot read, to the end of the file whatever the header says: a picture
// that is not whole (its markers, its decode) or is of another size is left out and counted, and
// the walk goes on at the next one that is whole, noting each stretch it passed over.
class PictureWalk {
public:
  PictureWalk(PictureWindow &window, bool salvage) : window_(window), salvage_(salvage) {}

  bool First(PictureSource &source, uint32_t dataOffset, uint32_t dataSize, PictureBytes &picture);
  bool Next(PictureBytes &picture);

  // The stretches passed over, in offsets from the stream's start.
  const std::vector<DamagedStretch> &damaged() const { return damaged_; }
  // With salvage: where the picture just found begins in the stream, and whether a stretch
  // was passed over (or pictures left out) right before it.
  uint64_t pictureStart() const { return pictureStart_; }
  bool afterDamage() const { return afterDamage_; }
  uint32_t leftOut() const { return leftOut_; }
  uint32_t foreign() const { return foreign_; }
  // Once the walk has ended: the stream offset of a last picture that the data ends inside.
  std::optional<uint64_t> cutShortAt() const { return cutShortAt_; }
  // Once the walk has ended: whether damage or a cut took the last pictures.
  bool endsInDamage() const { return endsInDamage_; }
  // The size of the clip's pictures, from the first whole one (salvage only).
  const PictureCheck &check() const { return check_; }

private:
  bool Checked(bool found, PictureBytes &picture);
  bool Judged(PictureBytes picture);
  void LookAhead();
  bool Kept(bool found, PictureBytes picture, uint64_t from);

  PictureWindow &window_;
  bool salvage_;
  PictureCheck check_;
  PictureCheckAhead ahead_;
  std::vector<DamagedStretch> damaged_;
  uint64_t pictureStart_ = 0;
  bool afterDamage_ = false;
  uint32_t leftOut_ = 0;
  uint32_t foreign_ = 0;
  std::optional<uint64_t> cutShortAt_;
  bool endsInDamage_ = false;
};

} // namespace reelcraft
