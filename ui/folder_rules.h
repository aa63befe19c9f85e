// SPDX-License-Identifier: MIT
#pragma once

#include "sys/message_sink.h"
#include "sys/paths.h"

#include <string>
#include <string_view>

namespace reelcraft {

// Verdicts of the folder rules.
constexpr int kFolderAccepted = 0;
constexpr int kFolderDeclined = -1; // the user did not want the folder created
constexpr int kFolderInvalid = 1;
constexpr int kFolderNotCreated = 2;

// Paths are taken in absolute form: "/" alone is the root, otherwise "/" and folder names
// separated by single "/", none at the end. On Windows a drive's root, a letter, ":" and "\"
// ("E:\"), takes the place of "/", and "\" separates the names ("E:\Video\Clips"). Paths that
// do not fit a path buffer are invalid.

// Checks a typed folder path and, if the folder is missing, offers to create it. Shows its own
// messages; gives kFolderAccepted, kFolderDeclined (silently), kFolderInvalid or
// kFolderNotCreated.
int ValidateOrCreateFolder(const std::string &path, MessageSink &messages);

// Checks the form of a path (checkOnly) or also creates every missing folder on it, outer
// first. Gives kFolderAccepted, kFolderInvalid or, when creating, kFolderNotCreated.
int CheckOrCreatePath(const std::string &path, bool checkOnly);

// One folder name: not empty, no TAB, space or dot at either end, none of " * / : < > ? \ |.
bool IsValidFolderName(std::string_view name);

} // namespace reelcraft
