// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <sys/types.h>
#include <vector>

namespace reelcraft::test {

using Bytes = std::vector<uint8_t>;

Bytes ReadFileBytes(const std::string &path);
void WriteFileBytes(const std::string &path, const Bytes &bytes);

// Runs a shell command (cmd.exe on Windows); gives its exit status and what it printed on standard
// output.
struct CommandResult {
  int status = -1;
  std::string output;
};
CommandResult RunCommand(const std::string &command);

// The names of what `folder` holds (not below it).
std::set<std::string> FolderHolds(const std::filesystem::path &folder);

#ifndef _WIN32
// The files that the process `pid` (0: this one) holds open in `folder`, whether they have a
// name there or none, each as the /proc path that reaches it.
std::vector<std::string> FilesOpenIn(pid_t pid, const std::string &folder);
#endif

// Quotes a path for the shell, as one argument.
std::string ShellQuote(const std::string &text);

} // namespace reelcraft::test
