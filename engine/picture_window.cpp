// SPDX-License-Identifier: MIT
#include "engine/picture_window.h"

#include "engine/jpeg_scanner.h"
#include "engine/jpeg_structure.h"

#include <cstring>

namespace reelcraft {

PictureWindow::PictureWindow() : buffer_(std::make_unique_for_overwrite<uint8_t[]>(kBufferSize)) {}

bool PictureWindow::Begin(RawFile &file, uint32_t dataOffset, uint32_t dataSize,
                          PictureBytes &picture) {
  return Begin(fileSource_.emplace(file), dataOffset, dataSize, picture);
}

bool PictureWindow::Begin(PictureSource &source, uint32_t dataOffset, uint32_t dataSize,
                          PictureBytes &picture) {
  source_ = &source;
  // 64 bits: the data area's end may lie past 4 GiB.
  readEnd_ = toFileEnd_ ? UINT64_MAX : uint64_t(dataOffset) + dataSize;
  pos_ = base_ = held_ = 0;
  fileAt_ = dataOffset;
  readsEnded_ = !source.Seek(dataOffset);
  Fill();
  loaded_ = kWindowSize;
  return Search(picture);
}

bool PictureWindow::Next(PictureBytes &picture) {
  if (pos_ > kSlideThreshold && loaded_ < readEnd_)
    Slide();
  return Search(picture);
}

bool PictureWindow::Salvage(PictureBytes &picture) {
  for (;;) {
    if (pos_ > kSlideThreshold && loaded_ < readEnd_)
      Slide();
    const uint8_t *from = window() + pos_;
    size_t span = filled() - pos_;
    size_t at = 0;
    for (;;) {
      auto *mark = static_cast<const uint8_t *>(std::memchr(from + at, 0xFF, span - at));
      if (!mark || size_t(mark - from) + 1 >= span) {
        // No start marker whole in view: on past what was seen, keeping a last FF.
        pos_ += mark ? size_t(mark - from) : span;
        if (!MoreToCome())
          return false;
        break;
      }
      at = size_t(mark - from);
      if (mark[1] != 0xD8) {
        ++at;
        continue;
      }
      JpegStructure structure = ReadJpegStructure(mark, span - at);
      JpegShape shape = structure.shape;
      if (shape == JpegShape::Whole) {
        picture = PictureBytes(mark, structure.length);
        pos_ += at + structure.length;
        cutAt_.reset();
        return true;
      }
      // A picture cut off by the window's end is looked at again once a slide has brought it
      // into view; one longer than a slide can show is no more found than by Next.
      if (shape == JpegShape::Truncated && MoreToCome() && pos_ + at > kSlideThreshold) {
        pos_ += at;
        break;
      }
      if (shape == JpegShape::Truncated && !MoreToCome() && !cutAt_)
        cutAt_ = StreamOffset() + at;
      at += 2;
    }
  }
}

bool PictureWindow::OnlyZerosBetween(uint64_t from, uint64_t to) const {
  uint64_t bufferStart = loaded_ - kWindowSize - base_; // the stream offset of buffer_[0]
  from = std::max(from, bufferStart);
  to = std::min(to, bufferStart + held_);
  for (uint64_t at = from; at < to; ++at) {
    if (buffer_[size_t(at - bufferStart)] != 0)
      return false;
  }
  return true;
}

// Moves the window on by whole blocks, keeping every byte not yet searched.
void PictureWindow::Slide() {
  size_t advance = pos_ - pos_ % kBlockSize;
  base_ += advance;
  loaded_ += advance;
  pos_ -= advance;
  Fill();
}

// Reads until the window is whole or the file has ended, each read ending on a piece boundary
// of the file. The window is moved to the buffer's start only when no piece fits behind it.
void PictureWindow::Fill() {
  while (!readsEnded_ && held_ - base_ < kWindowSize) {
    size_t piece = kIoPieceSize - size_t(fileAt_ % kIoPieceSize);
    if (kBufferSize - held_ < piece) {
      if (beforeMoving_)
        beforeMoving_();
      std::memmove(buffer_.get(), window(), held_ - base_);
      held_ -= base_;
      base_ = 0;
    }
    size_t got = source_->Read(buffer_.get() + held_, piece);
    held_ += got;
    fileAt_ += got;
    readsEnded_ = got < piece;
  }
}

std::optional<std::pair<uint64_t, PictureBytes>> PictureWindow::PeekNext() const {
  const uint8_t *from = window() + pos_;
  auto extent = FindJpegPicture(from, held_ - base_ - pos_);
  if (!extent)
    return std::nullopt;
  return std::pair(StreamOffset() + extent->start,
                   PictureBytes(from + extent->start, extent->length));
}

bool PictureWindow::Search(PictureBytes &picture) {
  const uint8_t *from = window() + pos_;
  auto extent = FindJpegPicture(from, filled() - pos_);
  if (!extent)
    return false;
  picture = PictureBytes(from + extent->start, extent->length);
  pos_ += extent->start + extent->length;
  return true;
}

} // namespace reelcraft
