// SPDX-License-Identifier: MIT
#include "avi/avi_records.h"

#include <cstddef>

namespace reelcraft {

namespace {

template <size_t N> class LittleEndianWriter {
public:
  explicit LittleEndianWriter(std::array<uint8_t, N> &out) : out_(out) {}
  LittleEndianWriter &Put(uint32_t value, size_t width) {
    for (size_t i = 0; i < width; ++i)
      out_[at_++] = uint8_t(value >> (8 * i));
    return *this;
  }
  LittleEndianWriter &Put16(uint16_t value) { return Put(value, 2); }
  LittleEndianWriter &Put32(uint32_t value) { return Put(value, 4); }

private:
  std::array<uint8_t, N> &out_;
  size_t at_ = 0;
};

} // namespace

std::array<uint8_t, 40> Serialize(const BitmapInfoHeader &format) {
  std::array<uint8_t, 40> bytes{};
  LittleEndianWriter(bytes)
      .Put32(format.biSize)
      .Put32(uint32_t(format.biWidth))
      .Put32(uint32_t(format.biHeight))
      .Put16(format.biPlanes)
      .Put16(format.biBitCount)
      .Put32(format.biCompression)
      .Put32(format.biSizeImage)
      .Put32(uint32_t(format.biXPelsPerMeter))
      .Put32(uint32_t(format.biYPelsPerMeter))
      .Put32(format.biClrUsed)
      .Put32(format.biClrImportant);
  return bytes;
}

std::array<uint8_t, 18> Serialize(const WaveFormatEx &format) {
  std::array<uint8_t, 18> bytes{};
  LittleEndianWriter(bytes)
      .Put16(format.wFormatTag)
      .Put16(format.nChannels)
      .Put32(format.nSamplesPerSec)
      .Put32(format.nAvgBytesPerSec)
      .Put16(format.nBlockAlign)
      .Put16(format.wBitsPerSample)
      .Put16(format.cbSize);
  return bytes;
}

} // namespace reelcraft
