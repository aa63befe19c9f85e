// SPDX-License-Identifier: MIT
#pragma once

#include "sys/message_sink.h"

#include <deque>
#include <string>
#include <vector>

namespace reelcraft {

// Records every message and answers questions from a queue; for tests, where nobody is there
// to press a button. An empty queue answers Yes/No questions with No.
class ScriptedMessages : public MessageSink {
public:
  struct Shown {
    std::string text;
    MessageButtons buttons;
    MessageIcon icon;
  };

  MessageAnswer Show(const std::string &text, MessageButtons buttons, MessageIcon icon) override;
  void QueueAnswer(MessageAnswer answer) { answers_.push_back(answer); }

  const std::vector<Shown> &shown() const { return shown_; }
  std::vector<std::string> texts() const;

private:
  std::deque<MessageAnswer> answers_;
  std::vector<Shown> shown_;
};

} // namespace reelcraft
