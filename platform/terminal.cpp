#include "platform/terminal.h"

#include <sys/ioctl.h>
#include <unistd.h>

namespace reelcraft {

bool IsTerminal(std::FILE *stream) { return ::isatty(::fileno(stream)) == 1; }

size_t TerminalColumns(std::FILE *stream) {
  struct winsize size = {};
  if (::ioctl(::fileno(stream), TIOCGWINSZ, &size) != 0)
    return 0;
  return size.ws_col;
}

} // namespace reelcraft
