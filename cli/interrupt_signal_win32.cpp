// SPDX-License-Identifier: MIT
#include "cli/interrupt_signal.h"

#include <csignal>
#include <windows.h>

namespace reelcraft {

namespace {

// A console handler reaches its target only through a static.
std::atomic<int> *interruptFlag = nullptr;

BOOL WINAPI OnConsoleEvent(DWORD event) {
  bool interrupt = event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT;
  int none = 0;
  if (interruptFlag)
    interruptFlag->compare_exchange_strong(none, interrupt ? SIGINT : SIGTERM);
  // A closing console or session ends the process once this returns: it waits instead, so
  // that the conversion stops and removes its partial files, until the process ends or
  // Windows stops waiting.
  if (!interrupt)
    Sleep(INFINITE);
  return TRUE;
}

} // namespace

void RaiseFlagOnInterrupt(std::atomic<int> &flag) {
  static_assert(std::atomic<int>::is_always_lock_free);
  interruptFlag = &flag;
  SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

} // namespace reelcraft
