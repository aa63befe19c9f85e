// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

namespace reelcraft {

// Whether `stream` is a terminal that a person watches.
bool IsTerminal(std::FILE *stream);

// The width of the terminal behind `stream` in columns; 0 when it cannot be told.
size_t TerminalColumns(std::FILE *stream);

// `text` with every byte that could steer a terminal shown as "\x1b": control characters but
// the line break, DEL, the C1 controls and bytes that are no valid UTF-8. Printable UTF-8
// characters stay as they are.
std::string TerminalSafeText(std::string_view text);

bool IsValidUtf8(std::string_view text);

} // namespace reelcraft
