// SPDX-License-Identifier: MIT
#pragma once

#include "sys/raw_file.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

namespace reelcraft {

// A picture found by the window: its bytes in the window's own buffer, valid until the next
// call of Next. A picture always lies whole in the buffer searched, so none is copied out.
using PictureBytes = std::span<const uint8_t>;

// Walks a picture stream through a window of fixed size that slides by whole blocks, so that a
// clip of any length is read with constant memory. Begin once, then AtEnd/Next for each further
// picture. A failed search leaves `picture` as it was.
class PictureWindow {
public:
  static constexpr size_t kWindowSize = 204800;
  static constexpr size_t kSlideThreshold = 102400;
  static constexpr size_t kBlockSize = 512;

  PictureWindow();

  // Reads the first window of `file` at `dataOffset` and finds the first picture. The file
  // must outlive the window.
  bool Begin(RawFile &file, uint32_t dataOffset, uint32_t dataSize, PictureBytes &picture);
  bool AtEnd() const { return pos_ >= kWindowSize; }
  bool Next(PictureBytes &picture);
  // Where Next finds nothing: the next picture whose marker structure holds, past whatever
  // stands before it, up to the end of the data. False when none is left; the window has then
  // passed over all of it.
  bool Salvage(PictureBytes &picture);
  // The next search begins at `picture`, the one just found, again.
  void SearchAgainFrom(PictureBytes picture) { pos_ = size_t(picture.data() - window()); }
  uint64_t ProgressValue() const { return pos_ + loaded_; }
  // The offset from `dataOffset` at which the next search begins.
  uint64_t StreamOffset() const { return loaded_ - kWindowSize + pos_; }
  // A read of the file failed: the pictures after it are lost, not missing.
  bool ReadFailed() const { return file_ && file_->error() != 0; }

  size_t pos() const { return pos_; }
  uint64_t loaded() const { return loaded_; }

private:
  // The window is a view into a larger buffer that is read in whole pieces ahead of it: a slide
  // moves the view instead of copying the window, and reads come in the sizes and at the
  // offsets the page cache serves best. Two pieces hold a window and the piece read behind it;
  // a larger buffer went back to the system after every clip and was faulted in anew for the
  // next, which tripled the time of a batch of small clips.
  static constexpr size_t kBufferSize = size_t(2) * kIoPieceSize;

  void Slide();
  void Fill();
  const uint8_t *window() const { return buffer_.get() + base_; }
  // Bytes of the window that hold file data: fewer only where the file ends (or a read failed).
  size_t filled() const { return std::min(kWindowSize, held_ - base_); }
  bool Search(PictureBytes &picture);
  // A slide can still bring bytes of the data area into the window.
  bool MoreToCome() const { return loaded_ < readEnd_ && !readsEnded_; }

  std::unique_ptr<uint8_t[]> buffer_;
  size_t base_ = 0;     // the window's first byte in the buffer
  size_t held_ = 0;     // bytes of the buffer that hold file data
  uint64_t fileAt_ = 0; // the file offset the next read starts at
  bool readsEnded_ = false;
  RawFile *file_ = nullptr;
  size_t pos_ = 0;
  uint64_t loaded_ = 0;
  uint64_t readEnd_ = 0;
};

} // namespace reelcraft
