// SPDX-License-Identifier: MIT
#include "cli/json_text.h"

namespace reelcraft {

std::string JsonText(const nlohmann::ordered_json &value) {
  return value.dump(-1, ' ', true, nlohmann::ordered_json::error_handler_t::replace);
}

} // namespace reelcraft
