// SPDX-License-Identifier: MIT
#include "engine/picture_walk.h"

#include "engine/jpeg_structure.h"

namespace reelcraft {

namespace {

bool HoldsTogether(PictureBytes picture) {
  JpegStructure structure = ReadJpegStructure(picture.data(), picture.size());
  return structure.shape == JpegShape::Whole && structure.length == picture.size();
}

} // namespace

bool PictureWalk::First(RawFile &file, uint32_t dataOffset, uint32_t dataSize,
                        PictureBytes &picture) {
  return Checked(window_.Begin(file, dataOffset, dataSize, picture), picture);
}

bool PictureWalk::Next(PictureBytes &picture) { return Checked(window_.Next(picture), picture); }

// Without salvage the window's rules alone decide. With it, a picture they yield must hold
// together too, or the walk looks again from that picture's start.
bool PictureWalk::Checked(bool found, PictureBytes &picture) {
  // A read error is no damage: the pictures after it are lost, not missing.
  if (!salvage_ || window_.ReadFailed())
    return found;
  if (found && HoldsTogether(picture))
    return true;
  if (found)
    window_.SearchAgainFrom(picture);
  uint64_t from = window_.StreamOffset();
  found = window_.Salvage(picture);
  uint64_t to = window_.StreamOffset() - (found ? picture.size() : 0);
  if (to > from)
    damaged_.push_back({from, to});
  return found;
}

} // namespace reelcraft
