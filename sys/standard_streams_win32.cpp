// SPDX-License-Identifier: MIT
#include "sys/standard_streams.h"

#include <cstdio>
#include <fcntl.h>
#include <initializer_list>
#include <io.h>
#include <windows.h>

namespace reelcraft {

void OpenClosedStandardStreams() {
  // The messages are UTF-8 and lines end in a bare line break, byte for byte as elsewhere:
  // the console shows UTF-8 once told to, and binary streams add no carriage returns.
  SetConsoleOutputCP(CP_UTF8);
  for (std::FILE *stream : {stdin, stdout, stderr}) {
    int fd = _fileno(stream);
    if (fd < 0 || _get_osfhandle(fd) == -1 || _get_osfhandle(fd) == -2)
      (void)std::freopen("NUL", stream == stdin ? "rb" : "wb", stream);
    else
      _setmode(fd, _O_BINARY);
  }
}

// Windows has neither SIGPIPE nor SIGXFSZ: a write to a closed pipe or past a limit fails.
void IgnoreBrokenPipes() {}

void IgnoreFileSizeLimit() {}

} // namespace reelcraft
