// SPDX-License-Identifier: MIT
#include "app/system_installation.h"

namespace reelcraft {

// Windows has no system data folders that a package fills for the program: it always installs
// itself for the user and registers the association.
std::optional<std::string> SystemDataFolderOf(const std::string &) { return std::nullopt; }

bool RegisterProgram(const InstallContext &context) { return InstallProgram(context); }

bool UnregisterProgram(const InstallContext &context) { return RemoveRegistration(context); }

} // namespace reelcraft
