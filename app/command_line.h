// SPDX-License-Identifier: MIT
#pragma once

#include "desktop/command_text.h"

#include <functional>
#include <optional>
#include <string>

namespace reelcraft {

// The arguments as the system hands them to the program, already split: argv[1] and argv[2]
// count, later ones are ignored.
CommandLineArguments ArgumentsOf(int argc, const char *const *argv);

enum class Mode { Invalid, Batch, ReRegister, Remove, SingleClip };

Mode ClassifyMode(bool valid, const std::string &firstArgument);

struct SingleClipRequest {
  std::string sourcePath;
  std::string targetPath;
  bool askFolder = false;
  bool deleteSource = false;
};

using DocumentsFolderQuery = std::function<std::optional<std::string>()>;

SingleClipRequest MakeSingleClipRequest(const std::string &firstArgument,
                                        const std::string &secondArgument,
                                        const DocumentsFolderQuery &documentsFolder);

} // namespace reelcraft
