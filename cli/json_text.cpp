// SPDX-License-Identifier: MIT
#include "cli/json_text.h"

#include "cli/terminal.h"

namespace reelcraft {

namespace {

std::string Base64(const std::string &bytes) {
  static const char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string text;
  for (size_t at = 0; at < bytes.size(); at += 3) {
    size_t present = std::min<size_t>(3, bytes.size() - at);
    uint32_t group = 0;
    for (size_t i = 0; i < 3; ++i)
      group = group << 8 | (i < present ? static_cast<unsigned char>(bytes[at + i]) : 0u);
    for (size_t i = 0; i < 4; ++i)
      text += i <= present ? kDigits[(group >> (18 - 6 * i)) & 0x3F] : '=';
  }
  return text;
}

} // namespace

std::string JsonText(const nlohmann::ordered_json &value) {
  return value.dump(-1, ' ', true, nlohmann::ordered_json::error_handler_t::replace);
}

nlohmann::ordered_json WithPathFields(const std::string &key, const std::string &path,
                                      const nlohmann::ordered_json &fields) {
  nlohmann::ordered_json object = {{key, path}};
  if (!IsValidUtf8(path))
    object[key + "Bytes"] = Base64(path);
  object.update(fields);
  return object;
}

} // namespace reelcraft
