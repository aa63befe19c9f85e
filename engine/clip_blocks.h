// SPDX-License-Identifier: MIT
#pragma once

#include "engine/interfaces.h"
#include "engine/picture_window.h"
#include "sys/raw_file.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace reelcraft {

// A clip with sound lays its data area out in 512-byte blocks from its data offset: a block
// that begins with the FF FF mark holds sound, every other one picture bytes.
constexpr size_t kClipBlockSize = 512;

// True for a block that holds sound: it begins with the FF FF mark. A block too short to hold
// the third byte that replaces the mark counts as a picture block.
bool IsAudioBlock(const uint8_t *block, size_t size);
// For an audio block, turns its bytes into those of the sound (the mark replaced by two copies
// of the third byte) and gives true; a picture block stays as it is.
bool TakeSoundFromBlock(uint8_t *block, size_t size);

// Where a clip's sound blocks lay among its picture blocks: what ties a picture to its time
// when a damaged stretch has taken the pictures around it, and places in the picture stream to
// places in the clip.
// A camera lays its blocks out in a pattern, so the timeline keeps runs of sound blocks evenly
// spaced in the picture stream: a few of them for a whole clip, however long, where a list of
// every block would grow with it.
struct SoundTimeline {
  // `count` sound blocks, the first with `first` bytes of the picture stream before it, each
  // next one `step` bytes on.
  struct Run {
    uint64_t first = 0;
    uint64_t step = 0;
    uint64_t count = 0;
    uint64_t blocksBefore = 0; // in the runs before this one
  };

  uint16_t dataOffset = 0;
  std::vector<Run> runs;
  uint64_t soundBytes = 0;

  // Notes the next sound block, with `pictureBytesBefore` bytes of the picture stream before it.
  void Add(uint64_t pictureBytesBefore, size_t size);
  // The sound blocks with at most `streamOffset` bytes of the picture stream before them.
  uint64_t SoundBlocksBefore(uint64_t streamOffset) const;
  uint64_t SoundBytesBefore(uint64_t streamOffset) const;
  // The place in the clip of a place in the picture stream.
  uint64_t ClipOffset(uint64_t streamOffset) const;
};

// Where the sound blocks go as the reader meets them, their marks replaced.
class SoundBlockSink {
public:
  virtual ~SoundBlockSink() = default;
  // False when the sound cannot be kept; the reader then stops.
  virtual bool Take(const uint8_t *sound, size_t size) = 0;
};

// The clip read once, front to back, in large pieces: a picture window reads the picture
// stream from it, and in a clip with sound each sound block goes to the sink on the way. The
// stream starts at 0 at the clip's data offset, sound blocks left out; a clip without sound
// hands its bytes straight into the window's buffer, its stream offsets those of the file.
// With `progress`, the caller's events are pumped and the bar set to the bytes of the clip read
// after every piece.
class ClipBlockReader final : public PictureSource {
public:
  // `sound` null: a clip without sound. `timeline`, where given, records every sound block.
  ClipBlockReader(RawFile &clip, uint16_t dataOffset, SoundBlockSink *sound,
                  SoundTimeline *timeline, const ProgressControl *progress);

  bool Seek(uint64_t offset) override;
  size_t Read(void *buffer, size_t size) override;
  // The clip could not be read, or the sink refused a block.
  bool Failed() const override { return clip_.error() != 0 || soundRefused_; }
  // Reads the rest of the clip, so that the sink has all of its sound; stops early once
  // `cancelFlag` is set. False when a read or the sink failed.
  bool ReadToEnd(const CancelFlag &cancelFlag);
  bool soundRefused() const { return soundRefused_; }
  // How far into the clip the reads have come.
  uint64_t clipPosition() const { return clipAt_; }

private:
  bool ReadPiece();
  bool SortedOutSound(uint8_t *block, size_t size);
  void Report() const;

  RawFile &clip_;
  uint16_t dataOffset_;
  SoundBlockSink *sound_;
  SoundTimeline *timeline_;
  const ProgressControl *progress_;
  std::unique_ptr<uint8_t[]> piece_;
  size_t pieceSize_ = 0;
  size_t pieceAt_ = 0; // the first block of the piece not yet handed on
  uint64_t clipAt_ = 0;
  uint64_t pictureBytes_ = 0;
  bool ended_ = false;
  bool soundRefused_ = false;
};

} // namespace reelcraft
