// SPDX-License-Identifier: MIT
#include "sys/process.h"

#include <cerrno>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace reelcraft {

namespace {

std::vector<char *> ArgumentArray(const std::vector<std::string> &argv) {
  std::vector<char *> array;
  for (const std::string &argument : argv)
    array.push_back(const_cast<char *>(argument.c_str()));
  array.push_back(nullptr);
  return array;
}

bool WaitFor(pid_t pid, int &status) {
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR)
      return false;
  }
  return true;
}

} // namespace

bool StartDetached(const std::vector<std::string> &argv, const std::string &folder) {
  if (argv.empty())
    return false;
  std::vector<char *> args = ArgumentArray(argv);
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0)
    return false;
  // Started from a child that exits at once, so the program is nobody's child to reap; the
  // pipe closes on a successful exec and carries errno otherwise.
  pid_t child = fork();
  if (child == 0) {
    pid_t program = fork();
    if (program > 0)
      _exit(0);
    if (program == 0) {
      setsid();
      // A working folder that cannot be entered should not stop the program.
      if (!folder.empty() && chdir(folder.c_str()) != 0)
        errno = 0;
      execvp(args[0], args.data());
    }
    int error = errno;
    ssize_t ignored = write(report[1], &error, sizeof error);
    (void)ignored;
    _exit(127);
  }
  close(report[1]);
  int status = 0;
  bool started =
      child > 0 && WaitFor(child, status) && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  int error = 0;
  ssize_t got;
  do {
    got = read(report[0], &error, sizeof error);
  } while (got < 0 && errno == EINTR);
  close(report[0]);
  return started && got == 0;
}

std::optional<std::string> RunAndRead(const std::vector<std::string> &argv) {
  if (argv.empty())
    return std::nullopt;
  std::vector<char *> args = ArgumentArray(argv);
  int output[2];
  if (pipe2(output, O_CLOEXEC) != 0)
    return std::nullopt;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
  pid_t pid = 0;
  int error = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(output[1]);
  std::string text;
  char buffer[4096];
  for (ssize_t got; error == 0 && (got = read(output[0], buffer, sizeof buffer)) != 0;) {
    if (got > 0)
      text.append(buffer, size_t(got));
    else if (errno != EINTR)
      break;
  }
  close(output[0]);
  int status = 0;
  if (error != 0 || !WaitFor(pid, status) || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
    return std::nullopt;
  return text;
}

int RunAndWait(const std::vector<std::string> &argv) {
  if (argv.empty())
    return -1;
  std::vector<char *> args = ArgumentArray(argv);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  int error = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  int status = 0;
  if (error != 0 || !WaitFor(pid, status) || !WIFEXITED(status))
    return -1;
  return WEXITSTATUS(status);
}

} // namespace reelcraft
