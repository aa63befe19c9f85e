// SPDX-License-Identifier: MIT
#pragma once

#include "engine/clip_header.h"
#include "engine/picture_window.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace reelcraft {

// What a demuxer finds in a clip, handed on as soon as it is found. A handler that gives false
// stops the demuxer: nothing more is handed on.
class DemuxOutput {
public:
  virtual ~DemuxOutput() = default;
  // The header has been read and accepted. Gives the size of the pieces the sound is to be
  // handed on in (whole samples), or 0 when no sound is wanted.
  virtual size_t Streams(const ClipHeader &header) = 0;
  // Picture `index` of the clip (0 is the first), valid during the call.
  virtual bool Picture(uint32_t index, PictureBytes picture) = 0;
  // Sound bytes from byte `offset` of the clip's sound on, valid during the call.
  virtual bool Sound(uint64_t offset, std::span<const uint8_t> bytes) = 0;
  // No picture follows; `message` says why they ended early, empty when they did not.
  virtual bool PicturesEnded(const std::string &message) = 0;
  // The converter would refuse the clip, with `message`.
  virtual void Rejected(const std::string &message) = 0;
};

// Where a demuxer starts handing on: the pictures from `firstPicture` on and the sound from its
// byte `firstSoundByte` on. Whatever lies before is read all the same, since nothing but the
// walk from the start tells where a picture lies. Without `walkPictures` the demuxer hands on
// the sound alone.
struct DemuxStart {
  uint32_t firstPicture = 0;
  uint64_t firstSoundByte = 0;
  bool walkPictures = true;
};

// Demuxes a clip from its bytes, fed in order from the first, in pieces of any size: the header
// by the converter's reader, the blocks of a clip with sound by its separation rules, and the
// pictures through its window and walk, so that the pictures and the sound are those of the AVI
// file the converter writes, whatever the pieces. Holds a bounded number of bytes between feeds.
class ClipDemuxer {
public:
  ClipDemuxer(DemuxOutput &output, DemuxStart start = {});
  ~ClipDemuxer();
  ClipDemuxer(const ClipDemuxer &) = delete;
  ClipDemuxer &operator=(const ClipDemuxer &) = delete;

  void Feed(const uint8_t *bytes, size_t size);
  // The clip has no more bytes.
  void Finish();
  // Nothing more will be handed on, whatever is fed.
  bool Done() const;
  // Bytes kept between feeds.
  size_t HeldBytes() const;
  // The pictures the walk has found so far; once they have ended, those the clip holds.
  uint32_t PicturesFound() const { return nextPicture_; }

private:
  class PictureQueue;
  enum class Phase { Header, BeforeData, Data, Stopped };

  void TakeHeader(const uint8_t *&bytes, size_t &size);
  void TakeData(const uint8_t *bytes, size_t size);
  void TakeBlock(const uint8_t *block, size_t size);
  void AddPictureBytes(const uint8_t *bytes, size_t size);
  void AddSound(const uint8_t *bytes, size_t size);
  void FlushSound();
  void Walk();
  void StepWalk();
  void EndPictures(const std::string &message);
  bool Carry(bool goOn);

  DemuxOutput &output_;
  DemuxStart start_;
  Phase phase_ = Phase::Header;
  std::vector<uint8_t> head_;
  ClipHeader header_;
  uint64_t toSkip_ = 0;
  bool inputEnded_ = false;

  std::vector<uint8_t> block_; // a block of a clip with sound, as far as it has come
  size_t soundPieceSize_ = 0;
  std::vector<uint8_t> soundPiece_;
  uint64_t soundAt_ = 0; // bytes of sound met so far

  std::unique_ptr<PictureQueue> queue_;
  std::unique_ptr<PictureWindow> window_;
  bool walking_ = true;
  uint32_t nextPicture_ = 0;
};

} // namespace reelcraft
