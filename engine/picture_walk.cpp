// SPDX-License-Identifier: MIT
#include "engine/picture_walk.h"

#include "engine/jpeg_structure.h"
#include "sys/translation.h"

#include <algorithm>

namespace reelcraft {

std::string NoFirstPictureMessage() { return Translate("Conversion", "Failed to find first JPEG"); }

std::string MissingPictureMessage() { return Translate("Conversion", "Failed to find JPEG\n"); }

bool PictureWalk::First(PictureSource &source, uint32_t dataOffset, uint32_t dataSize,
                        PictureBytes &picture) {
  if (salvage_)
    window_.ReadToFileEnd();
  return Checked(window_.Begin(source, dataOffset, dataSize, picture), picture);
}

bool PictureWalk::Next(PictureBytes &picture) { return Checked(window_.Next(picture), picture); }

// Whether a picture whose markers the window accepted is whole; one that is not is counted.
bool PictureWalk::Judged(PictureBytes picture) {
  JpegStructure structure = ReadJpegStructure(picture.data(), picture.size());
  if (structure.shape != JpegShape::Whole || structure.length != picture.size())
    return false;
  // The search stands right after the picture.
  std::optional<PictureVerdict> verdict =
      ahead_.Take(window_.StreamOffset() - picture.size(), picture.size());
  if (!verdict) {
    LookAhead();
    verdict = check_.Judge(picture, structure);
  }
  switch (*verdict) {
  case PictureVerdict::Whole:
    return true;
  case PictureVerdict::Damaged:
    ++leftOut_;
    return false;
  case PictureVerdict::Foreign:
    ++foreign_;
    return false;
  }
  return false;
}

// The next picture goes to the other thread while this one is judged here, once the clip's size
// is known: the first whole picture fixes it.
void PictureWalk::LookAhead() {
  if (!check_.HasSize())
    return;
  auto next = window_.PeekNext();
  if (!next)
    return;
  JpegStructure structure = ReadJpegStructure(next->second.data(), next->second.size());
  if (structure.shape == JpegShape::Whole && structure.length == next->second.size())
    ahead_.Start(next->first, next->second, structure, check_.width(), check_.height());
}

// Without salvage the window's rules alone decide. With it, a picture they yield must be whole
// too, or the walk looks on from that picture's start.
bool PictureWalk::Checked(bool found, PictureBytes &picture) {
  // A read error is no damage: the pictures after it are lost, not missing.
  if (!salvage_ || window_.ReadFailed())
    return found;
  uint32_t countedBefore = leftOut_ + foreign_;
  uint64_t from = window_.StreamOffset();
  if (found) {
    from -= picture.size();
    if (Judged(picture)) {
      pictureStart_ = from;
      afterDamage_ = false;
      return true;
    }
    // Markers that do not hold may hide a whole picture inside; a whole one left out does not.
    if (leftOut_ + foreign_ == countedBefore)
      window_.SearchAgainFrom(picture);
  }
  for (;;) {
    found = window_.Salvage(picture);
    if (!found || Judged(picture))
      break;
  }
  return Kept(found, picture, from);
}

// Notes the stretch from `from` to the picture found (or to the end), and whether it is damage:
// the zeros that fill the last block after the last picture are none, nor is a picture that
// the file ends inside, which cuts the clip short.
bool PictureWalk::Kept(bool found, PictureBytes picture, uint64_t from) {
  uint64_t to = window_.StreamOffset() - (found ? picture.size() : 0);
  if (!found && window_.cutAt()) {
    cutShortAt_ = std::max(from, *window_.cutAt());
    to = *cutShortAt_;
  }
  bool fill = !found && to - from < PictureWindow::kBlockSize && window_.OnlyZerosBetween(from, to);
  if (to > from && !fill)
    damaged_.push_back({from, to});
  if (!found)
    endsInDamage_ = (to > from && !fill) || cutShortAt_;
  if (found) {
    pictureStart_ = to;
    afterDamage_ = to > from;
  }
  return found;
}

} // namespace reelcraft
