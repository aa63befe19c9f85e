// SPDX-License-Identifier: MIT
#pragma once

#include <nlohmann/json.hpp>

#include <string>

namespace reelcraft {

// `value` on one line in plain ASCII: every other character escaped, so that no byte of a name
// or a clip can steer a terminal; bytes that are no valid UTF-8 become U+FFFD.
std::string JsonText(const nlohmann::ordered_json &value);

} // namespace reelcraft
