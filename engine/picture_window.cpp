#include "engine/picture_window.h"

#include "engine/jpeg_scanner.h"

#include <cstring>

namespace reelcraft {

PictureWindow::PictureWindow()
    : current_(std::make_unique_for_overwrite<uint8_t[]>(kWindowSize)),
      spare_(std::make_unique_for_overwrite<uint8_t[]>(kWindowSize)) {}

bool PictureWindow::Begin(RawFile &file, uint32_t dataOffset, uint32_t dataSize,
                          PictureBytes &picture) {
  file_ = &file;
  // 64 bits: the data area's end may lie past 4 GiB.
  readEnd_ = uint64_t(dataOffset) + dataSize;
  pos_ = 0;
  filled_ = file.Seek(dataOffset) ? file.Read(current_.get(), kWindowSize) : 0;
  loaded_ = kWindowSize;
  return Search(picture);
}

bool PictureWindow::Next(PictureBytes &picture) {
  if (pos_ > kSlideThreshold && loaded_ < readEnd_)
    Slide();
  return Search(picture);
}

// Moves the window on by whole blocks, keeping every byte not yet searched.
void PictureWindow::Slide() {
  size_t advance = pos_ - pos_ % kBlockSize;
  size_t kept = filled_ - advance;
  std::memcpy(spare_.get(), current_.get() + advance, kept);
  std::swap(current_, spare_);
  // After a short read `kept` ends before the window does; new bytes follow on directly.
  filled_ = kept + file_->Read(current_.get() + kept, advance);
  loaded_ += advance;
  pos_ -= advance;
}

bool PictureWindow::Search(PictureBytes &picture) {
  const uint8_t *from = current_.get() + pos_;
  auto extent = FindJpegPicture(from, filled_ - pos_);
  if (!extent)
    return false;
  picture = PictureBytes(from + extent->start, extent->length);
  pos_ += extent->start + extent->length;
  return true;
}

} // namespace reelcraft
