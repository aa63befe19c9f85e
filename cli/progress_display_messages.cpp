// SPDX-License-Identifier: MIT
#include "cli/progress_display_messages.h"

namespace reelcraft {

ProgressDisplayMessages::ProgressDisplayMessages(ProgressDisplay &display, const std::string &clip)
    : display_(display), console_(clip) {}

MessageAnswer ProgressDisplayMessages::Show(const std::string &text, MessageButtons buttons,
                                            MessageIcon icon) {
  MessageAnswer answer = MessageAnswer::Ok;
  display_.Interject([&] { answer = console_.Show(text, buttons, icon); });
  return answer;
}

} // namespace reelcraft
