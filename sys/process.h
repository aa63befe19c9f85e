// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace reelcraft {

// Starts a program (looked up on PATH) in a session of its own, in `folder` if that is not
// empty, and does not wait for it. False when it could not be started.
bool StartDetached(const std::vector<std::string> &argv, const std::string &folder);

// Runs a program to its end with standard output discarded; gives its exit status, or -1 when
// it could not be started or did not exit normally.
int RunAndWait(const std::vector<std::string> &argv);

// Runs a program to its end and gives what it wrote on standard output, when it exited with
// status 0; nullopt when it could not be started or failed.
std::optional<std::string> RunAndRead(const std::vector<std::string> &argv);

using Launcher =
    std::function<bool(const std::vector<std::string> &argv, const std::string &folder)>;
using CommandRunner = std::function<int(const std::vector<std::string> &argv)>;

} // namespace reelcraft
