// SPDX-License-Identifier: MIT
#pragma once

#include "desktop/shell.h"
#include "store/registry_store.h"
#include "sys/file_operation.h"
#include "sys/message_sink.h"
#include "sys/paths.h"

#include <functional>

namespace reelcraft {

// What installation and removal work with. `copyProgress` shows the copy of the program file
// (the user may abort it); `runningProgram` names the file that is copied.
struct InstallContext {
  MessageSink &messages;
  const Shell &shell;
  RegistryStore &store;
  CopyObserver &copyProgress;
  std::function<ProgramPath()> runningProgram = RunningProgramPath;
};

// Copies the running program into "Reelcrafter" below the Program Files folder and registers
// the clip association with its verbs "open", "create" (/c) and "createto" (/ct) for that copy.
// Shows its own message for the failures it can name; true on success.
bool InstallProgram(const InstallContext &context);

// Deletes the association's keys, deepest first, and brings the desktop up to date. Always
// succeeds; the installed file stays.
bool RemoveRegistration(const InstallContext &context);

} // namespace reelcraft
