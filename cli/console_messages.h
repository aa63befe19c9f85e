// SPDX-License-Identifier: MIT
#pragma once

#include "sys/message_sink.h"

#include <cstdio>
#include <mutex>
#include <string>

namespace reelcraft {

// Prints each message to a stream (standard error by default) as one block, prefixed, so that
// messages of conversions running at once never interleave; bytes that could steer a terminal
// are shown escaped. Yes/No questions are answered No: there is nobody to ask.
class ConsoleMessages : public MessageSink {
public:
  explicit ConsoleMessages(std::string prefix, std::FILE *out = stderr);
  MessageAnswer Show(const std::string &text, MessageButtons buttons, MessageIcon icon) override;

private:
  std::string prefix_;
  std::FILE *out_;
};

} // namespace reelcraft
