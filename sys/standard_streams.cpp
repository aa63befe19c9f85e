// SPDX-License-Identifier: MIT
#include "sys/standard_streams.h"

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace reelcraft {

std::vector<std::string> ProgramArguments(int argc, char **argv) {
  return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
}

void OpenClosedStandardStreams() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (::fcntl(fd, F_GETFD) >= 0)
      continue;
    // The lowest free number is taken, which is `fd` itself: the lower ones are open by now.
    int opened = ::open("/dev/null", O_RDWR);
    if (opened >= 0 && opened != fd)
      ::close(opened);
  }
}

void IgnoreBrokenPipes() { std::signal(SIGPIPE, SIG_IGN); }

void IgnoreFileSizeLimit() { std::signal(SIGXFSZ, SIG_IGN); }

} // namespace reelcraft
