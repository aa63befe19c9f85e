// SPDX-License-Identifier: MIT
#pragma once

#include "sys/message_sink.h"

#include <string>

namespace reelcraft {

// Message boxes as MessageBoxW: captioned with the program file's name, owned by the thread's
// active window, with the exclamation icon unless the question icon is asked for.
class Win32Messages : public MessageSink {
public:
  MessageAnswer Show(const std::string &text, MessageButtons buttons, MessageIcon icon) override;
};

// The program file's name without its extension, in UTF-8.
std::string ProgramBaseName();

} // namespace reelcraft
