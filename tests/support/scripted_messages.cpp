// SPDX-License-Identifier: MIT
#include "tests/support/scripted_messages.h"

namespace reelcraft {

MessageAnswer ScriptedMessages::Show(const std::string &text, MessageButtons buttons,
                                     MessageIcon icon) {
  shown_.push_back({text, buttons, icon});
  if (buttons == MessageButtons::Ok)
    return MessageAnswer::Ok;
  if (answers_.empty())
    return MessageAnswer::No;
  MessageAnswer answer = answers_.front();
  answers_.pop_front();
  return answer;
}

std::vector<std::string> ScriptedMessages::texts() const {
  std::vector<std::string> result;
  for (const auto &s : shown_)
    result.push_back(s.text);
  return result;
}

} // namespace reelcraft
