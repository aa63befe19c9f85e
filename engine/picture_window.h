#pragma once

#include "sys/raw_file.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

namespace reelcraft {

// A picture found by the window: its bytes in the window's own buffer, valid until the next
// call of Next. A picture always lies whole in the buffer searched, so none is copied out.
using PictureBytes = std::span<const uint8_t>;

// Walks a picture stream through two fixed buffers, so that a clip of any length is read in
// large sequential reads with constant memory. Begin once, then AtEnd/Next for each further
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
  uint64_t ProgressValue() const { return pos_ + loaded_; }
  // A read of the file failed: the pictures after it are lost, not missing.
  bool ReadFailed() const { return file_ && file_->error() != 0; }

  size_t pos() const { return pos_; }
  uint64_t loaded() const { return loaded_; }

private:
  void Slide();
  bool Search(PictureBytes &picture);

  std::unique_ptr<uint8_t[]> current_;
  std::unique_ptr<uint8_t[]> spare_;
  RawFile *file_ = nullptr;
  size_t pos_ = 0;
  // Bytes of the current buffer that hold file data. A short read at the end of the file
  // leaves the rest holding stale bytes, which are never searched.
  size_t filled_ = 0;
  uint64_t loaded_ = 0;
  uint64_t readEnd_ = 0;
};

} // namespace reelcraft
