// SPDX-License-Identifier: MIT
#include "cli/interrupt_signal.h"

#include <csignal>

namespace reelcraft {

namespace {

// A signal handler reaches its target only through a static.
std::atomic<int> *interruptFlag = nullptr;

extern "C" void OnInterrupt(int signal) {
  int none = 0;
  if (interruptFlag)
    interruptFlag->compare_exchange_strong(none, signal);
}

} // namespace

void RaiseFlagOnInterrupt(std::atomic<int> &flag) {
  static_assert(std::atomic<int>::is_always_lock_free);
  interruptFlag = &flag;
  struct sigaction action = {};
  action.sa_handler = OnInterrupt;
  // The handler stays: a second interrupt while the partial files are being removed must not
  // end the process before they are gone.
  action.sa_flags = 0;
  sigemptyset(&action.sa_mask);
  for (int signal : {SIGINT, SIGTERM, SIGHUP})
    sigaction(signal, &action, nullptr);
}

} // namespace reelcraft
