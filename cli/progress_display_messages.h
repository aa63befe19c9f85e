// SPDX-License-Identifier: MIT
#pragma once

#include "cli/console_messages.h"
#include "cli/progress_display.h"

namespace reelcraft {

// The messages of one clip on standard error, prefixed with the clip's path, each printed whole
// with the status line out of the way.
class ProgressDisplayMessages : public MessageSink {
public:
  ProgressDisplayMessages(ProgressDisplay &display, const std::string &clip);
  MessageAnswer Show(const std::string &text, MessageButtons buttons = MessageButtons::Ok,
                     MessageIcon icon = MessageIcon::Exclamation) override;

private:
  ProgressDisplay &display_;
  ConsoleMessages console_;
};

} // namespace reelcraft
