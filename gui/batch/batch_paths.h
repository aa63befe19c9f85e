// SPDX-License-Identifier: MIT
#pragma once

#include "sys/paths.h"

#include <string>

namespace reelcraft {

// A folder text as typed, with a '/' appended unless it ends in one; "" becomes "/".
std::string WithTrailingSeparator(const std::string &folderText);

// The AVI of a clip in the output folder: the clip's name up to its first dot, then ".avi".
std::string TargetPath(const std::string &outputDirectory, const std::string &source);

// The AVI that takes a deleted clip's place: the clip's path up to its last dot, then ".avi".
std::string SourceLocationAvi(const std::string &source);

} // namespace reelcraft
