// SPDX-License-Identifier: MIT
// Any bytes as a clip through the GStreamer plugin's demuxer: fed whole, and again in pieces
// whose sizes the input picks, as a stream would hand them over. Both must hand on the same
// pictures, sound and endings, in order, never more pictures than the clip counts, and keep no
// more than a bounded number of bytes between feeds. The input's last byte also says how often
// its data area repeats, so that small inputs reach past the window's read-ahead.
#include "engine/clip_demuxer.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

using namespace reelcraft;

constexpr size_t kSoundPiece = 777;

// A running digest of everything handed on, with the order checks that hold for any clip.
class Digest : public DemuxOutput {
public:
  size_t Streams(const ClipHeader &header) override {
    frameCount_ = header.frameCount;
    Mix(1);
    return header.audioPresent ? kSoundPiece : 0;
  }
  bool Picture(uint32_t index, PictureBytes picture) override {
    if (index != pictures_++ || pictures_ > std::max<uint32_t>(frameCount_, 1) ||
        picture.size() < 4 || picture[0] != 0xFF || picture[1] != 0xD8)
      std::abort();
    Mix(2, picture.data(), picture.size());
    return true;
  }
  bool Sound(uint64_t offset, std::span<const uint8_t> bytes) override {
    if (offset != soundAt_ || bytes.empty() || bytes.size() > kSoundPiece)
      std::abort();
    soundAt_ += bytes.size();
    Mix(3, bytes.data(), bytes.size());
    return true;
  }
  bool PicturesEnded(const std::string &message) override {
    Mix(4, reinterpret_cast<const uint8_t *>(message.data()), message.size());
    return true;
  }
  void Rejected(const std::string &message) override {
    Mix(5, reinterpret_cast<const uint8_t *>(message.data()), message.size());
  }

  uint64_t value() const { return value_; }

private:
  void Mix(uint8_t tag, const uint8_t *bytes = nullptr, size_t size = 0) {
    value_ = (value_ ^ tag) * 0x100000001B3u;
    for (size_t i = 0; i < size; ++i)
      value_ = (value_ ^ bytes[i]) * 0x100000001B3u;
  }

  uint64_t value_ = 0xCBF29CE484222325u;
  uint16_t frameCount_ = 0;
  uint32_t pictures_ = 0;
  uint64_t soundAt_ = 0;
};

uint64_t DemuxInPieces(const std::vector<uint8_t> &clip, size_t pieceSize) {
  Digest digest;
  ClipDemuxer demuxer(digest);
  const size_t bound =
      PictureWindow::kMostReadAtOnce + kClipHeaderSize + kSoundPiece + PictureWindow::kBlockSize;
  for (size_t at = 0; at < clip.size() && !demuxer.Done(); at += pieceSize) {
    demuxer.Feed(clip.data() + at, std::min(pieceSize, clip.size() - at));
    if (demuxer.HeldBytes() > bound)
      std::abort();
  }
  demuxer.Finish();
  if (!demuxer.Done())
    std::abort();
  return digest.value();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  std::vector<uint8_t> clip(data, data + size);
  if (size > kClipHeaderSize + 1) {
    size_t repeats = data[size - 1] & 0x07;
    for (size_t i = 0; i < repeats; ++i)
      clip.insert(clip.end(), data + kClipHeaderSize, data + size - 1);
  }
  size_t pieceSize = size > 0 ? 1 + size_t(data[0] ^ data[size / 2]) * 37 : 1;
  if (DemuxInPieces(clip, clip.size() + 1) != DemuxInPieces(clip, pieceSize))
    std::abort();
  return 0;
}
