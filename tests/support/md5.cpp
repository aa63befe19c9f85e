// SPDX-License-Identifier: MIT
#include "tests/support/md5.h"

#include <array>
#include <cmath>
#include <cstdio>

namespace reelcraft::test {

namespace {

constexpr uint32_t kShifts[64] = {7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22,
                                  5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20,
                                  4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23,
                                  6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21};

std::array<uint32_t, 64> SineTable() {
  std::array<uint32_t, 64> table{};
  for (int i = 0; i < 64; ++i)
    table[size_t(i)] = uint32_t(std::floor(std::fabs(std::sin(i + 1.0)) * 4294967296.0));
  return table;
}

uint32_t RotateLeft(uint32_t x, uint32_t c) { return (x << c) | (x >> (32 - c)); }

void HashBlock(const uint8_t *block, std::array<uint32_t, 4> &state) {
  static const std::array<uint32_t, 64> sines = SineTable();
  uint32_t m[16];
  for (int i = 0; i < 16; ++i)
    m[i] = uint32_t(block[4 * i]) | uint32_t(block[4 * i + 1]) << 8 |
           uint32_t(block[4 * i + 2]) << 16 | uint32_t(block[4 * i + 3]) << 24;
  uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
  for (uint32_t i = 0; i < 64; ++i) {
    uint32_t f, g;
    if (i < 16) {
      f = (b & c) | (~b & d);
      g = i;
    } else if (i < 32) {
      f = (d & b) | (~d & c);
      g = (5 * i + 1) % 16;
    } else if (i < 48) {
      f = b ^ c ^ d;
      g = (3 * i + 5) % 16;
    } else {
      f = c ^ (b | ~d);
      g = (7 * i) % 16;
    }
    uint32_t next = d;
    d = c;
    c = b;
    b = b + RotateLeft(a + f + sines[i] + m[g], kShifts[i]);
    a = next;
  }
  state[0] += a;
  state[1] += b;
  state[2] += c;
  state[3] += d;
}

} // namespace

std::string Md5Hex(const Bytes &bytes) {
  std::array<uint32_t, 4> state = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};
  Bytes message = bytes;
  uint64_t bits = uint64_t(bytes.size()) * 8;
  message.push_back(0x80);
  while (message.size() % 64 != 56)
    message.push_back(0);
  for (int i = 0; i < 8; ++i)
    message.push_back(uint8_t(bits >> (8 * i)));
  for (size_t pos = 0; pos < message.size(); pos += 64)
    HashBlock(&message[pos], state);
  std::string hex;
  char digits[3];
  for (uint32_t word : state) {
    for (int i = 0; i < 4; ++i) {
      std::snprintf(digits, sizeof digits, "%02x", (word >> (8 * i)) & 0xff);
      hex += digits;
    }
  }
  return hex;
}

} // namespace reelcraft::test
