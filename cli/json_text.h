// SPDX-License-Identifier: MIT
#pragma once

#include <nlohmann/json.hpp>

#include <string>

namespace reelcraft {

// `value` on one line in plain ASCII: every other character escaped, so that no byte of a name
// or a clip can steer a terminal; bytes that are no valid UTF-8 become U+FFFD.
std::string JsonText(const nlohmann::ordered_json &value);

// An object that names a file, then holds `fields`: `key` with the path, readable once shown
// (see JsonText), and, only when the path is not valid UTF-8, `key` + "Bytes" with its exact
// bytes in base64, so that a reader can still tell two such files apart and open them.
nlohmann::ordered_json WithPathFields(const std::string &key, const std::string &path,
                                      const nlohmann::ordered_json &fields);

} // namespace reelcraft
