// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

namespace reelcraft {

// The arguments after the program's name, in UTF-8 like every path of ours: on Windows read
// from the wide-character command line, since `argv` there has lost every character outside
// the 8-bit code page.
std::vector<std::string> ProgramArguments(int argc, char **argv);

// Opens /dev/null on each of descriptors 0, 1 and 2 that is closed, so that no file opened
// later takes its number and receives what is written to standard output or error.
void OpenClosedStandardStreams();

// A reader that goes away (standard error into `head`) makes writes fail with EPIPE instead of
// ending the process in the middle of its work.
void IgnoreBrokenPipes();

// A file that would pass the limit of `ulimit -f` makes its write fail with EFBIG, which the
// usual error path reports and cleans up after, instead of ending the process (SIGXFSZ) with
// its work half done.
void IgnoreFileSizeLimit();

} // namespace reelcraft
