// SPDX-License-Identifier: MIT
#include "engine/picture_check.h"

#include <turbojpeg.h>

#include <algorithm>

namespace reelcraft {

namespace {

// No picture of a camera holds a longer run of zeros in its entropy-coded data; a zeroed
// sector inside a picture leaves hundreds.
constexpr size_t kLongestZeroRun = 8;
// The decode is only a test: at an eighth of the size the decoder still reads every bit of
// the data but spends little on the pixels.
constexpr int kScaleDown = 8;

} // namespace

bool HasZeroRunLongerThan(const uint8_t *bytes, size_t size, size_t longest) {
  // A longer run covers a multiple of the stride, so only those bytes need a first look.
  size_t stride = longest + 1;
  for (size_t at = longest; at < size; at += stride) {
    if (bytes[at] != 0)
      continue;
    size_t begin = at, end = at + 1;
    while (begin > 0 && bytes[begin - 1] == 0)
      --begin;
    while (end < size && bytes[end] == 0)
      ++end;
    if (end - begin > longest)
      return true;
    at = end; // a run past this one covers a multiple of the stride after it
  }
  return false;
}

PictureCheck::PictureCheck() : decoder_(tjInitDecompress()) {}

PictureCheck::~PictureCheck() {
  if (decoder_)
    tjDestroy(decoder_);
}

PictureVerdict PictureCheck::Judge(std::span<const uint8_t> picture,
                                   const JpegStructure &structure) {
  if (HasSize() && (structure.width != width_ || structure.height != height_))
    return PictureVerdict::Foreign;
  size_t data = std::min(structure.firstScanData, picture.size());
  if (HasZeroRunLongerThan(picture.data() + data, picture.size() - data, kLongestZeroRun) ||
      !Decodes(picture, structure))
    return PictureVerdict::Damaged;
  if (!HasSize()) {
    width_ = structure.width;
    height_ = structure.height;
  }
  return PictureVerdict::Whole;
}

bool PictureCheck::Decodes(std::span<const uint8_t> picture, const JpegStructure &structure) {
  if (!decoder_)
    return false;
  int width = (structure.width + kScaleDown - 1) / kScaleDown;
  int height = (structure.height + kScaleDown - 1) / kScaleDown;
  pixels_.resize(size_t(width) * size_t(height));
  // Any warning (data that ends early, bytes left before a marker, a restart out of place)
  // is damage.
  return tjDecompress2(decoder_, picture.data(), static_cast<unsigned long>(picture.size()),
                       pixels_.data(), width, 0, height, TJPF_GRAY,
                       TJFLAG_FASTDCT | TJFLAG_STOPONWARNING) == 0;
}

} // namespace reelcraft
