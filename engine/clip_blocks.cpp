// SPDX-License-Identifier: MIT
#include "engine/clip_blocks.h"

#include <algorithm>
#include <cstring>

namespace reelcraft {

bool IsAudioBlock(const uint8_t *block, size_t size) {
  return size >= 3 && block[0] == 0xFF && block[1] == 0xFF;
}

bool TakeSoundFromBlock(uint8_t *block, size_t size) {
  if (!IsAudioBlock(block, size))
    return false;
  block[0] = block[1] = block[2];
  return true;
}

void SoundTimeline::Add(uint64_t pictureBytesBefore, size_t size) {
  soundBytes += size;
  if (!runs.empty()) {
    Run &last = runs.back();
    if (last.count == 1)
      last.step = pictureBytesBefore - last.first;
    if (pictureBytesBefore == last.first + last.count * last.step) {
      ++last.count;
      return;
    }
  }
  uint64_t before = runs.empty() ? 0 : runs.back().blocksBefore + runs.back().count;
  runs.push_back({pictureBytesBefore, 0, 1, before});
}

uint64_t SoundTimeline::SoundBlocksBefore(uint64_t streamOffset) const {
  auto after = std::upper_bound(runs.begin(), runs.end(), streamOffset,
                                [](uint64_t offset, const Run &run) { return offset < run.first; });
  if (after == runs.begin())
    return 0;
  const Run &run = *(after - 1);
  uint64_t inRun = run.step == 0 ? run.count : (streamOffset - run.first) / run.step + 1;
  return run.blocksBefore + std::min(run.count, inRun);
}

uint64_t SoundTimeline::SoundBytesBefore(uint64_t streamOffset) const {
  return std::min(soundBytes, SoundBlocksBefore(streamOffset) * kClipBlockSize);
}

uint64_t SoundTimeline::ClipOffset(uint64_t streamOffset) const {
  return dataOffset + streamOffset + SoundBytesBefore(streamOffset);
}

static_assert(kIoPieceSize % kClipBlockSize == 0, "a piece holds whole blocks");

ClipBlockReader::ClipBlockReader(RawFile &clip, uint16_t dataOffset, SoundBlockSink *sound,
                                 SoundTimeline *timeline, const ProgressControl *progress)
    : clip_(clip), dataOffset_(dataOffset), sound_(sound), timeline_(sound ? timeline : nullptr),
      progress_(progress) {
  if (sound_)
    piece_ = std::make_unique_for_overwrite<uint8_t[]>(kIoPieceSize);
  if (timeline_)
    *timeline_ = SoundTimeline{dataOffset, {}, 0};
}

bool ClipBlockReader::Seek(uint64_t offset) {
  // With sound the stream has no place in the clip but its start: the grid begins there.
  if (sound_ && offset != 0)
    return false;
  clipAt_ = sound_ ? dataOffset_ : offset;
  pieceSize_ = pieceAt_ = 0;
  pictureBytes_ = 0;
  ended_ = false;
  return clip_.Seek(clipAt_);
}

size_t ClipBlockReader::Read(void *buffer, size_t size) {
  if (!sound_) {
    size_t got = clip_.Read(buffer, size);
    clipAt_ += got;
    Report();
    return got;
  }
  auto *out = static_cast<uint8_t *>(buffer);
  size_t given = 0;
  while (given < size && !soundRefused_) {
    if (pieceAt_ == pieceSize_ && (ended_ || !ReadPiece()))
      break;
    uint8_t *block = piece_.get() + pieceAt_;
    size_t inBlock = std::min(kClipBlockSize - pieceAt_ % kClipBlockSize, pieceSize_ - pieceAt_);
    // A block is told apart once, at its start; what is left of a picture block is pictures.
    if (pieceAt_ % kClipBlockSize == 0 && SortedOutSound(block, inBlock)) {
      pieceAt_ += inBlock;
      continue;
    }
    // Picture blocks that follow one another go out in one copy; a sound block that ends the
    // run is sorted out on the way.
    size_t run = inBlock, soundAfter = 0;
    while (run < size - given && pieceAt_ + run < pieceSize_) {
      size_t next = std::min(kClipBlockSize, pieceSize_ - pieceAt_ - run);
      if (SortedOutSound(block + run, next)) {
        soundAfter = next;
        break;
      }
      run += next;
    }
    size_t n = std::min(run, size - given);
    std::memcpy(out + given, block, n);
    given += n;
    pieceAt_ += n + soundAfter;
  }
  return given;
}

bool ClipBlockReader::ReadToEnd(const CancelFlag &cancelFlag) {
  if (!sound_)
    return !Failed();
  // The rest of a picture block begun, then whole blocks, picture bytes passed over.
  pieceAt_ =
      std::min(pieceSize_, (pieceAt_ + kClipBlockSize - 1) / kClipBlockSize * kClipBlockSize);
  while (!soundRefused_ && cancelFlag == 0) {
    if (pieceAt_ == pieceSize_ && (ended_ || !ReadPiece()))
      break;
    uint8_t *block = piece_.get() + pieceAt_;
    size_t inBlock = std::min(kClipBlockSize, pieceSize_ - pieceAt_);
    SortedOutSound(block, inBlock);
    pieceAt_ += inBlock;
  }
  return !Failed();
}

// A sound block goes to the sink (true); a picture block is counted into the stream.
bool ClipBlockReader::SortedOutSound(uint8_t *block, size_t size) {
  if (!TakeSoundFromBlock(block, size)) {
    pictureBytes_ += size;
    return false;
  }
  if (timeline_)
    timeline_->Add(pictureBytes_, size);
  soundRefused_ = !sound_->Take(block, size);
  return true;
}

// False when nothing more could be read.
bool ClipBlockReader::ReadPiece() {
  pieceSize_ = clip_.Read(piece_.get(), kIoPieceSize);
  pieceAt_ = 0;
  clipAt_ += pieceSize_;
  ended_ = pieceSize_ < kIoPieceSize;
  Report();
  return pieceSize_ > 0;
}

void ClipBlockReader::Report() const {
  if (!progress_)
    return;
  progress_->pump.RunPending();
  progress_->sink.SetPosition(ProgressBound(clipAt_));
}

} // namespace reelcraft
