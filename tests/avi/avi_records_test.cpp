// SPDX-License-Identifier: MIT
#include "avi/avi_records.h"

#include <gtest/gtest.h>

namespace reelcraft {
namespace {

TEST(AviRecordsTest, WaveFormatLayout) {
  WaveFormatEx format{1, 2, 8000, 32000, 4, 16, 0};
  std::array<uint8_t, 18> expected = {1, 0, 2, 0, 0x40, 0x1F, 0, 0, 0x00, 0x7D, 0, 0, 4, 0, 16};
  EXPECT_EQ(Serialize(format), expected);
}

} // namespace
} // namespace reelcraft
