// SPDX-License-Identifier: MIT
#include "engine/clip_demuxer.h"

#include "engine/clip_blocks.h"
#include "engine/picture_walk.h"
#include "sys/message_sink.h"

#include <algorithm>
#include <cstring>

namespace reelcraft {

namespace {

// The converter's message, kept instead of shown.
class KeptMessage : public MessageSink {
public:
  MessageAnswer Show(const std::string &text, MessageButtons, MessageIcon) override {
    text_ = text;
    return MessageAnswer::Ok;
  }
  const std::string &text() const { return text_; }

private:
  std::string text_;
};

} // namespace

// The picture stream as far as it has come in, read by the window as it reads a file. The
// window is stepped only while the queue holds what a step may read, so its reads never come
// short before the stream has ended.
class ClipDemuxer::PictureQueue : public PictureSource {
public:
  static constexpr size_t kEnough = PictureWindow::kMostReadAtOnce;

  explicit PictureQueue(uint64_t origin)
      : origin_(origin), bytes_(std::make_unique_for_overwrite<uint8_t[]>(kCapacity)) {}

  bool Seek(uint64_t offset) override { return offset == origin_; }
  size_t Read(void *buffer, size_t size) override {
    size_t taken = std::min(size, Size());
    std::memcpy(buffer, bytes_.get() + begin_, taken);
    begin_ += taken;
    return taken;
  }
  bool Failed() const override { return false; }

  size_t Size() const { return end_ - begin_; }
  size_t Room() const { return kEnough - Size(); }
  // At most Room() bytes.
  void Append(const uint8_t *bytes, size_t size) {
    if (kCapacity - end_ < size) {
      std::memmove(bytes_.get(), bytes_.get() + begin_, Size());
      end_ -= begin_;
      begin_ = 0;
    }
    std::memcpy(bytes_.get() + end_, bytes, size);
    end_ += size;
  }

private:
  // Twice what is kept, so that the bytes are moved to the front once per window's worth.
  static constexpr size_t kCapacity = 2 * kEnough;

  uint64_t origin_;
  std::unique_ptr<uint8_t[]> bytes_;
  size_t begin_ = 0;
  size_t end_ = 0;
};

ClipDemuxer::ClipDemuxer(DemuxOutput &output, DemuxStart start) : output_(output), start_(start) {
  head_.reserve(kClipHeaderSize);
  block_.reserve(kClipBlockSize);
}

ClipDemuxer::~ClipDemuxer() = default;

void ClipDemuxer::Feed(const uint8_t *bytes, size_t size) {
  if (phase_ == Phase::Header)
    TakeHeader(bytes, size);
  if (phase_ == Phase::BeforeData) {
    size_t skipped = size_t(std::min<uint64_t>(toSkip_, size));
    bytes += skipped;
    size -= skipped;
    toSkip_ -= skipped;
    if (toSkip_ == 0)
      phase_ = Phase::Data;
  }
  if (phase_ == Phase::Data)
    TakeData(bytes, size);
}

void ClipDemuxer::Finish() {
  inputEnded_ = true;
  if (phase_ == Phase::Header) {
    const uint8_t *none = nullptr;
    size_t size = 0;
    TakeHeader(none, size);
  }
  if (phase_ == Phase::BeforeData)
    phase_ = Phase::Data; // the data area is empty
  if (phase_ == Phase::Data && !block_.empty()) {
    std::vector<uint8_t> last = std::move(block_);
    TakeBlock(last.data(), last.size());
  }
  if (phase_ == Phase::Data)
    Walk();
  if (phase_ == Phase::Data)
    FlushSound();
  phase_ = Phase::Stopped;
}

bool ClipDemuxer::Done() const { return phase_ == Phase::Stopped; }

size_t ClipDemuxer::HeldBytes() const {
  return head_.size() + block_.size() + soundPiece_.size() + (queue_ ? queue_->Size() : 0);
}

// Gathers the header; once it is whole (or the clip has ended), judges it as the converter does.
void ClipDemuxer::TakeHeader(const uint8_t *&bytes, size_t &size) {
  size_t taken = std::min(size, kClipHeaderSize - head_.size());
  head_.insert(head_.end(), bytes, bytes + taken);
  bytes += taken;
  size -= taken;
  if (head_.size() < kClipHeaderSize && !inputEnded_)
    return;
  KeptMessage message;
  if (!DecodeClipHeader(head_.data(), head_.size(), header_, message)) {
    output_.Rejected(message.text());
    phase_ = Phase::Stopped;
    return;
  }
  soundPieceSize_ = output_.Streams(header_);
  soundPiece_.reserve(soundPieceSize_);
  walking_ = start_.walkPictures;
  if (!walking_ && soundPieceSize_ == 0) {
    phase_ = Phase::Stopped;
    return;
  }
  if (walking_) {
    // With sound, the window walks the joined picture blocks from their start.
    queue_ = std::make_unique<PictureQueue>(header_.audioPresent ? 0 : header_.dataOffset);
    window_ = std::make_unique<PictureWindow>();
  }
  if (header_.dataOffset >= kClipHeaderSize) {
    toSkip_ = header_.dataOffset - kClipHeaderSize;
    phase_ = toSkip_ > 0 ? Phase::BeforeData : Phase::Data;
    return;
  }
  // The data area begins inside the header.
  phase_ = Phase::Data;
  std::vector<uint8_t> head = std::move(head_);
  TakeData(head.data() + header_.dataOffset, head.size() - header_.dataOffset);
}

void ClipDemuxer::TakeData(const uint8_t *bytes, size_t size) {
  if (header_.audioPresent == 0) {
    AddPictureBytes(bytes, size);
    return;
  }
  // Blocks of a clip with sound, on the grid that starts at the data area.
  while (size > 0 && phase_ == Phase::Data) {
    if (block_.empty() && size >= kClipBlockSize) {
      TakeBlock(bytes, kClipBlockSize);
      bytes += kClipBlockSize;
      size -= kClipBlockSize;
      continue;
    }
    size_t taken = std::min(size, kClipBlockSize - block_.size());
    block_.insert(block_.end(), bytes, bytes + taken);
    bytes += taken;
    size -= taken;
    if (block_.size() == kClipBlockSize) {
      TakeBlock(block_.data(), block_.size());
      block_.clear();
    }
  }
}

void ClipDemuxer::TakeBlock(const uint8_t *block, size_t size) {
  if (!IsAudioBlock(block, size)) {
    AddPictureBytes(block, size);
    return;
  }
  uint8_t sound[kClipBlockSize];
  std::memcpy(sound, block, size);
  TakeSoundFromBlock(sound, size);
  AddSound(sound, size);
}

void ClipDemuxer::AddPictureBytes(const uint8_t *bytes, size_t size) {
  while (size > 0 && walking_ && phase_ == Phase::Data) {
    size_t taken = std::min(size, queue_->Room());
    queue_->Append(bytes, taken);
    bytes += taken;
    size -= taken;
    Walk();
  }
}

void ClipDemuxer::AddSound(const uint8_t *bytes, size_t size) {
  if (soundPieceSize_ == 0)
    return;
  if (soundAt_ < start_.firstSoundByte) {
    size_t skipped = size_t(std::min<uint64_t>(size, start_.firstSoundByte - soundAt_));
    soundAt_ += skipped;
    bytes += skipped;
    size -= skipped;
  }
  while (size > 0 && phase_ == Phase::Data) {
    size_t taken = std::min(size, soundPieceSize_ - soundPiece_.size());
    soundPiece_.insert(soundPiece_.end(), bytes, bytes + taken);
    soundAt_ += taken;
    bytes += taken;
    size -= taken;
    if (soundPiece_.size() == soundPieceSize_)
      FlushSound();
  }
}

void ClipDemuxer::FlushSound() {
  if (soundPiece_.empty())
    return;
  bool goOn = output_.Sound(soundAt_ - soundPiece_.size(), soundPiece_);
  soundPiece_.clear();
  Carry(goOn);
}

void ClipDemuxer::Walk() {
  while (walking_ && phase_ == Phase::Data &&
         (inputEnded_ || queue_->Size() >= PictureQueue::kEnough))
    StepWalk();
}

// One picture of the walk the video writer makes: the first, or the next while fewer than
// `frameCount` have been found and the window is not used up.
void ClipDemuxer::StepWalk() {
  PictureBytes picture;
  if (nextPicture_ == 0) {
    uint32_t origin = header_.audioPresent ? 0 : header_.dataOffset;
    if (!window_->Begin(*queue_, origin, header_.dataSize, picture)) {
      output_.Rejected(NoFirstPictureMessage());
      phase_ = Phase::Stopped;
      return;
    }
  } else if (window_->AtEnd()) {
    EndPictures("");
    return;
  } else if (!window_->Next(picture)) {
    EndPictures(MissingPictureMessage());
    return;
  }
  uint32_t index = nextPicture_++;
  if (index >= start_.firstPicture && !Carry(output_.Picture(index, picture)))
    return;
  if (nextPicture_ >= header_.frameCount)
    EndPictures("");
}

void ClipDemuxer::EndPictures(const std::string &message) {
  walking_ = false;
  window_.reset();
  queue_.reset();
  if (Carry(output_.PicturesEnded(message)) && soundPieceSize_ == 0)
    phase_ = Phase::Stopped;
}

bool ClipDemuxer::Carry(bool goOn) {
  if (!goOn)
    phase_ = Phase::Stopped;
  return goOn;
}

} // namespace reelcraft
