// SPDX-License-Identifier: MIT
#include "cli/display_messages.h"

namespace reelcraft {

DisplayMessages::DisplayMessages(ProgressDisplay &display, const std::string &clip)
    : display_(display), console_(clip) {}

MessageAnswer DisplayMessages::Show(const std::string &text, MessageButtons buttons,
                                    MessageIcon icon) {
  MessageAnswer answer = MessageAnswer::Ok;
  display_.Interject([&] { answer = console_.Show(text, buttons, icon); });
  return answer;
}

} // namespace reelcraft
