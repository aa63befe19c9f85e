// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace reelcraft {

// Small text files that the desktop reads (entries, lists, packages).

// Writes `text` as the whole file at `path`, making its folders: under a staged name first, so
// that a reader finds the old file or the new one, never half of one.
bool WriteFileReplacing(const std::string &path, const std::string &text);

// The whole file; empty when it cannot be read.
std::string ReadFileText(const std::string &path);

} // namespace reelcraft
