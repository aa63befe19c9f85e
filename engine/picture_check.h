// SPDX-License-Identifier: MIT
#pragma once

#include "engine/jpeg_structure.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace reelcraft {

enum class PictureVerdict {
  Whole,   // decodes without a complaint, at the clip's size
  Damaged, // the decoder finds fault with it, or it holds a run of zeros no encoder writes
  Foreign, // whole, but of another size: another camera's, from a cross-linked cluster
};

// Judges the pictures of one clip for a salvage, which keeps only pictures that are whole. The
// first whole picture fixes the clip's size. Markers that hold together are not enough: zeroed
// sectors, a picture spliced from two after a dropped cluster and a sound block that lost its
// mark all keep the markers, and only a decode shows them.
class PictureCheck {
public:
  PictureCheck();
  ~PictureCheck();
  PictureCheck(const PictureCheck &) = delete;
  PictureCheck &operator=(const PictureCheck &) = delete;

  // `structure` is what ReadJpegStructure found whole in `picture`.
  PictureVerdict Judge(std::span<const uint8_t> picture, const JpegStructure &structure);

  bool HasSize() const { return width_ != 0; }
  // The clip's size, known from another check's first whole picture.
  void FixSize(uint16_t width, uint16_t height) {
    width_ = width;
    height_ = height;
  }
  uint16_t width() const { return width_; }
  uint16_t height() const { return height_; }

private:
  bool Decodes(std::span<const uint8_t> picture, const JpegStructure &structure);

  void *decoder_;
  std::vector<uint8_t> pixels_;
  uint16_t width_ = 0;
  uint16_t height_ = 0;
};

// Whether `bytes` hold a run of more than `longest` zero bytes.
bool HasZeroRunLongerThan(const uint8_t *bytes, size_t size, size_t longest);

} // namespace reelcraft
