// SPDX-License-Identifier: MIT
#pragma once

#include "tests/support/files.h"
#include "tests/support/tools.h"

namespace reelcraft::test {

// A real JPEG picture made by libjpeg's cjpeg from a generated pattern, with restart markers
// (so it carries a DRI segment after its DQT tables, as camera pictures do). Pictures differ
// by `seed`; the same arguments give the same bytes. Thread-safe, cached.
Bytes MakeJpeg(int width, int height, int seed, int quality = 75);

} // namespace reelcraft::test
