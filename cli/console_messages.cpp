// SPDX-License-Identifier: MIT
#include "cli/console_messages.h"

#include "cli/terminal.h"

#include <utility>

namespace reelcraft {

namespace {
std::mutex &OutputMutex() {
  static std::mutex mutex;
  return mutex;
}
} // namespace

ConsoleMessages::ConsoleMessages(std::string prefix, std::FILE *out)
    : prefix_(std::move(prefix)), out_(out) {}

MessageAnswer ConsoleMessages::Show(const std::string &text, MessageButtons buttons, MessageIcon) {
  // Names and clip bytes come from outside: none of them may reach the terminal as a command.
  std::string block = TerminalSafeText((prefix_.empty() ? std::string() : prefix_ + ": ") + text);
  while (!block.empty() && block.back() == '\n')
    block.pop_back();
  block += '\n';
  {
    std::lock_guard lock(OutputMutex());
    std::fwrite(block.data(), 1, block.size(), out_);
    std::fflush(out_);
  }
  return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::No;
}

} // namespace reelcraft
