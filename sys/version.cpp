// SPDX-License-Identifier: MIT
#include "sys/version.h"

#include <cstdio>

namespace reelcraft {

std::string VersionText(uint32_t stamp) {
  char text[16];
  std::snprintf(text, sizeof text, "%d-%02d", int((stamp >> 8) & 0xFF), int(stamp & 0xFF));
  return text;
}

} // namespace reelcraft
