// SPDX-License-Identifier: MIT
#pragma once

#include "sys/message_sink.h"

#include <QString>

namespace reelcraft {

// Message boxes as QMessageBox: captioned with the program file's name, owned by the active
// window, with the exclamation (warning) icon unless the question icon is asked for.
class QtMessages : public MessageSink {
public:
  MessageAnswer Show(const std::string &text, MessageButtons buttons, MessageIcon icon) override;
};

// The program file's name without its extension.
QString ProgramName();

} // namespace reelcraft
