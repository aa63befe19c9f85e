// SPDX-License-Identifier: MIT
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

namespace reelcraft::test {

// The independent programs the tests make pictures with and read our files back with, as the
// build found them.
enum class Tool { Ffmpeg, Ffprobe, Cjpeg };

// The program's path, quoted for the shell; tests run without one that is missing.
std::string ToolCommand(Tool tool);

// Why a test cannot run without the `tools` the build did not find; empty when all are there.
std::string MissingTools(std::initializer_list<Tool> tools);

} // namespace reelcraft::test

// Skips the test, saying why, when one of the tools is missing.
#define REELCRAFT_NEEDS_TOOLS(...)                                                                 \
  if (std::string missing = ::reelcraft::test::MissingTools({__VA_ARGS__}); !missing.empty())      \
  GTEST_SKIP() << missing

// Pictures from cjpeg, AVI files read back by ffprobe and ffmpeg: what most tests use.
#define REELCRAFT_NEEDS_PICTURE_TOOLS()                                                            \
  REELCRAFT_NEEDS_TOOLS(::reelcraft::test::Tool::Cjpeg, ::reelcraft::test::Tool::Ffprobe,          \
                        ::reelcraft::test::Tool::Ffmpeg)
