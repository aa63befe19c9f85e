#include "sys/system_error_text.h"

#include <climits>
#include <cstring>
#include <string_view>

namespace reelcraft {

void SystemErrorText(uint32_t code, std::string &text) {
  if (code > uint32_t(INT_MAX))
    return;
  char buffer[256];
  // The GNU strerror_r, which may give a static text instead of filling the buffer.
  const char *found = strerror_r(int(code), buffer, sizeof buffer);
  // glibc names codes it does not know "Unknown error N": that is no description.
  if (!found || std::string_view(found).starts_with("Unknown error"))
    return;
  text = found;
}

} // namespace reelcraft
