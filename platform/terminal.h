#pragma once

#include <cstddef>
#include <cstdio>

namespace reelcraft {

// Whether `stream` is a terminal that a person watches.
bool IsTerminal(std::FILE *stream);

// The width of the terminal behind `stream` in columns; 0 when it cannot be told.
size_t TerminalColumns(std::FILE *stream);

} // namespace reelcraft
