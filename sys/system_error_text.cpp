// SPDX-License-Identifier: MIT
#include "sys/error_text.h"

#include <climits>
#include <cstring>

namespace reelcraft {

void SystemErrorText(uint32_t code, std::string &text) {
  if (code > uint32_t(INT_MAX))
    return;
  char buffer[256];
  // The GNU strerror_r, which may give a static text instead of filling the buffer.
  const char *found = strerror_r(int(code), buffer, sizeof buffer);
  // glibc names codes it does not know "Unknown error N", in the user's language: that is no
  // description. Its table of descriptions, in English, has none for them.
  if (!found || !strerrordesc_np(int(code)))
    return;
  text = found;
}

} // namespace reelcraft
