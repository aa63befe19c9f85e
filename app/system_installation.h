// SPDX-License-Identifier: MIT
#pragma once

#include "app/installation.h"

#include <optional>
#include <string>

namespace reelcraft {

// A program that a package installed stands on its own: its desktop entry offers the verbs on
// clips, and the clip type, icon and thumbnailer are the system's. Its registration only makes
// it the user's default for clips; a program started from a build or an unpacked folder copies
// itself and registers the association instead.

// The data folder of the installation that `program` belongs to (PREFIX/share beside
// PREFIX/bin), when the system's data folders ($XDG_DATA_DIRS) include it and it holds the
// program's desktop entry and the clip type; nullopt otherwise.
std::optional<std::string> SystemDataFolderOf(const std::string &program);

// Registration as start-up asks for it, by the kind of installation the running program
// belongs to. Shows its own message for the failures it can name; true on success.
bool RegisterProgram(const InstallContext &context);

// Takes back what either kind of registration wrote: the association with the desktop files
// made from it, and the default for clips that names the system's entry. Always succeeds.
bool UnregisterProgram(const InstallContext &context);

} // namespace reelcraft
