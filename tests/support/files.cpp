// SPDX-License-Identifier: MIT
#include "tests/support/files.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace reelcraft::test {

Bytes ReadFileBytes(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  if (!in)
    throw std::runtime_error("cannot read " + path);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string &path, const Bytes &bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
  if (!out)
    throw std::runtime_error("cannot write " + path);
}

std::set<std::string> FolderHolds(const std::filesystem::path &folder) {
  std::set<std::string> names;
  for (const auto &entry : std::filesystem::directory_iterator(folder))
    names.insert(entry.path().filename().string());
  return names;
}

#ifndef _WIN32
std::vector<std::string> FilesOpenIn(pid_t pid, const std::string &folder) {
  std::string fds = "/proc/" + (pid ? std::to_string(pid) : std::string("self")) + "/fd";
  std::vector<std::string> open;
  std::error_code error;
  for (const auto &entry : std::filesystem::directory_iterator(fds, error)) {
    std::string target = std::filesystem::read_symlink(entry.path(), error).string();
    if (!error && target.starts_with(folder + "/"))
      open.push_back(entry.path().string());
  }
  return open;
}
#endif

CommandResult RunCommand(const std::string &command) {
  CommandResult result;
#ifdef _WIN32
  // cmd.exe /c takes off the first and the last quote of a line that begins with one: the
  // outer pair keeps the command's own.
  std::FILE *pipe = _popen(("\"" + command + "\"").c_str(), "rb");
#else
  std::FILE *pipe = popen(command.c_str(), "r");
#endif
  if (!pipe)
    return result;
  char buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
    result.output.append(buffer, n);
#ifdef _WIN32
  result.status = _pclose(pipe);
#else
  int status = pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
  return result;
}

#ifdef _WIN32
// Paths hold no quote on Windows.
std::string ShellQuote(const std::string &text) { return "\"" + text + "\""; }
#else
std::string ShellQuote(const std::string &text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'')
      quoted += "'\\''";
    else
      quoted += c;
  }
  return quoted + "'";
}
#endif

} // namespace reelcraft::test
