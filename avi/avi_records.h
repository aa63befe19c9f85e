// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>

namespace reelcraft {

// The stream format records of AVI files, with the byte layouts the files hold
// (little-endian, packed).

struct BitmapInfoHeader {
  uint32_t biSize = 40;
  int32_t biWidth = 0;
  int32_t biHeight = 0;
  uint16_t biPlanes = 0;
  uint16_t biBitCount = 0;
  uint32_t biCompression = 0;
  uint32_t biSizeImage = 0;
  int32_t biXPelsPerMeter = 0;
  int32_t biYPelsPerMeter = 0;
  uint32_t biClrUsed = 0;
  uint32_t biClrImportant = 0;
};

struct WaveFormatEx {
  uint16_t wFormatTag = 0;
  uint16_t nChannels = 0;
  uint32_t nSamplesPerSec = 0;
  uint32_t nAvgBytesPerSec = 0;
  uint16_t nBlockAlign = 0;
  uint16_t wBitsPerSample = 0;
  uint16_t cbSize = 0;
};

std::array<uint8_t, 40> Serialize(const BitmapInfoHeader &format);
std::array<uint8_t, 18> Serialize(const WaveFormatEx &format);

} // namespace reelcraft
