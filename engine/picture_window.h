// SPDX-License-Identifier: MIT
#pragma once

#include "sys/raw_file.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <utility>

namespace reelcraft {

// A picture found by the window: its bytes in the window's own buffer, valid until the next
// call of Next. A picture always lies whole in the buffer searched, so none is copied out.
using PictureBytes = std::span<const uint8_t>;

// Where a window reads its picture stream: a file, or bytes handed over as they arrive.
class PictureSource {
public:
  virtual ~PictureSource() = default;
  virtual bool Seek(uint64_t offset) = 0;
  // Reads until `size` bytes are in or the stream ends; gives the count read.
  virtual size_t Read(void *buffer, size_t size) = 0;
  // A read failed: the bytes after it are lost, not missing.
  virtual bool Failed() const = 0;
};

// Walks a picture stream through a window of fixed size that slides by whole blocks, so that a
// clip of any length is read with constant memory. Begin once, then AtEnd/Next for each further
// picture. A failed search leaves `picture` as it was.
class PictureWindow {
public:
  static constexpr size_t kWindowSize = 204800;
  static constexpr size_t kSlideThreshold = 102400;
  static constexpr size_t kBlockSize = 512;
  // The most that one call of Begin or Next reads: a source that holds this much ahead (or all
  // that is left) yields what a file would.
  static constexpr size_t kMostReadAtOnce = kWindowSize + kIoPieceSize;

  PictureWindow();

  // Reads the first window of `file` at `dataOffset` and finds the first picture. The file
  // must outlive the window.
  bool Begin(RawFile &file, uint32_t dataOffset, uint32_t dataSize, PictureBytes &picture);
  // The same from any source; it must outlive the window.
  bool Begin(PictureSource &source, uint32_t dataOffset, uint32_t dataSize, PictureBytes &picture);
  // Before Begin: read to the file's end, whatever `dataSize` says (a salvage believes no
  // header).
  void ReadToFileEnd() { toFileEnd_ = true; }
  bool AtEnd() const { return pos_ >= kWindowSize; }
  bool Next(PictureBytes &picture);
  // Where Next finds nothing: the next picture whose marker structure holds, past whatever
  // stands before it, up to the end of the data. False when none is left; the window has then
  // passed over all of it.
  bool Salvage(PictureBytes &picture);
  // Where the last Salvage that found nothing saw a picture begin that the data ends inside.
  std::optional<uint64_t> cutAt() const { return cutAt_; }
  // Whether the bytes from stream offset `from` to `to` that the buffer still holds are all
  // zeros, as a camera fills the rest of a block.
  bool OnlyZerosBetween(uint64_t from, uint64_t to) const;
  // Where the next search would find a picture among the bytes read so far, the window left
  // where it is: its stream offset and bytes, valid until the next call of Next or Salvage.
  std::optional<std::pair<uint64_t, PictureBytes>> PeekNext() const;
  // The next search begins at `picture`, the one just found, again.
  void SearchAgainFrom(PictureBytes picture) { pos_ = size_t(picture.data() - window()); }
  uint64_t ProgressValue() const { return pos_ + loaded_; }
  // The offset from `dataOffset` at which the next search begins.
  uint64_t StreamOffset() const { return loaded_ - kWindowSize + pos_; }
  // A read of the file failed: the pictures after it are lost, not missing.
  bool ReadFailed() const { return source_ && source_->Failed(); }

  // Called before the window moves bytes it holds, which leaves earlier pictures' spans stale.
  void BeforeMovingBytes(std::function<void()> hook) { beforeMoving_ = std::move(hook); }

  size_t pos() const { return pos_; }
  uint64_t loaded() const { return loaded_; }

private:
  class FileSource : public PictureSource {
  public:
    explicit FileSource(RawFile &file) : file_(file) {}
    bool Seek(uint64_t offset) override { return file_.Seek(offset); }
    size_t Read(void *buffer, size_t size) override { return file_.Read(buffer, size); }
    bool Failed() const override { return file_.error() != 0; }

  private:
    RawFile &file_;
  };

  // The window is a view into a larger buffer that is read in whole pieces ahead of it: a slide
  // moves the view instead of copying the window, and reads come in the sizes and at the
  // offsets the page cache serves best. Two pieces hold a window and the piece read behind it,
  // and stay small enough for the allocator to keep between clips: a buffer large enough to go
  // back to the system after every clip would be faulted in anew for each clip of a batch.
  static constexpr size_t kBufferSize = size_t(2) * kIoPieceSize;

  void Slide();
  void Fill();
  const uint8_t *window() const { return buffer_.get() + base_; }
  // Bytes of the window that hold file data: fewer only where the file ends (or a read failed).
  size_t filled() const { return std::min(kWindowSize, held_ - base_); }
  bool Search(PictureBytes &picture);
  // A slide can still bring bytes of the data area into the window.
  // (Once the reads have ended, the buffer may still hold bytes past the window.)
  bool MoreToCome() const {
    return loaded_ < readEnd_ && (!readsEnded_ || held_ - base_ > kWindowSize);
  }

  std::unique_ptr<uint8_t[]> buffer_;
  size_t base_ = 0;     // the window's first byte in the buffer
  size_t held_ = 0;     // bytes of the buffer that hold file data
  uint64_t fileAt_ = 0; // the file offset the next read starts at
  bool readsEnded_ = false;
  std::optional<FileSource> fileSource_;
  PictureSource *source_ = nullptr;
  size_t pos_ = 0;
  uint64_t loaded_ = 0;
  uint64_t readEnd_ = 0;
  bool toFileEnd_ = false;
  std::optional<uint64_t> cutAt_;
  std::function<void()> beforeMoving_;
};

} // namespace reelcraft
