// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace reelcraft::jpeg {

// The codes of JPEG markers, each the byte after an FF, as ITU T.81 names them.
constexpr uint8_t kMarkerPrefix = 0xFF;
constexpr uint8_t kBaselineFrame = 0xC0;           // SOF0
constexpr uint8_t kExtendedSequentialFrame = 0xC1; // SOF1
constexpr uint8_t kHuffmanTables = 0xC4;           // DHT
constexpr uint8_t kArithmeticConditioning = 0xCC;  // DAC
constexpr uint8_t kFirstRestart = 0xD0;            // RST0, up to RST7
constexpr uint8_t kRestartCount = 8;
constexpr uint8_t kStartOfImage = 0xD8;       // SOI
constexpr uint8_t kEndOfImage = 0xD9;         // EOI
constexpr uint8_t kStartOfScan = 0xDA;        // SOS
constexpr uint8_t kQuantisationTables = 0xDB; // DQT
constexpr uint8_t kRestartInterval = 0xDD;    // DRI
constexpr uint8_t kComment = 0xFE;            // COM

} // namespace reelcraft::jpeg
