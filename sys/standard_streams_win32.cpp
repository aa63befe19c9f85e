// SPDX-License-Identifier: MIT
#include "sys/standard_streams.h"

#include "sys/win32_text.h"

#include <cstdio>
#include <fcntl.h>
#include <initializer_list>
#include <io.h>
#include <windows.h>

#include <shellapi.h> // after windows.h, whose types it uses

namespace reelcraft {

std::vector<std::string> ProgramArguments(int argc, char **argv) {
  int count = 0;
  wchar_t **wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!wide)
    return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
  std::vector<std::string> arguments;
  for (int i = 1; i < count; ++i)
    arguments.push_back(Utf8Text(wide[i]));
  LocalFree(wide);
  return arguments;
}

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
