// SPDX-License-Identifier: MIT
#pragma once

#include "tests/support/files.h"

#include <string>

namespace reelcraft::test {

// The MD5 digest of `bytes` in lower-case hexadecimal, as ffmpeg's framemd5 prints it.
std::string Md5Hex(const Bytes &bytes);

} // namespace reelcraft::test
