// SPDX-License-Identifier: MIT
#include "app/installation.h"

#include "app/association.h"
#include "store/registry_key.h"
#include "sys/error_text.h"
#include "sys/file_system.h"
#include "sys/translation.h"

#include <string>

namespace reelcraft {

namespace {

constexpr uint32_t kInstallCopyFlags =
    FOF_NOCONFIRMATION | FOF_SIMPLEPROGRESS | FOF_NOCONFIRMMKDIR | FOF_NORECURSION; // 0x1310
constexpr uint32_t kPathBuffer = 260;

// The command line the desktop runs for a verb: the quoted program, the quoted clip
// placeholder and the verb's switch, if any.
std::string VerbCommand(const std::string &program, const char *switchText) {
  std::string command = "\"" + program + "\" \"%1\"";
  return *switchText ? command + " " + switchText : command;
}

std::optional<std::string> ProgramFilesFolder(RegistryStore &store) {
  RegistryKey key(store);
  key.Open(RegistryRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", false, true);
  char buffer[kPathBuffer];
  if (key.QueryString("ProgramFilesDir", buffer, sizeof buffer) == 0)
    return std::nullopt;
  return std::string(buffer);
}

// Writes one verb below "shell": its display name (only while the previous verb's command was
// written) and its command. Gives whether the command was written.
bool WriteVerb(RegistryStore &store, const RegistryKey &shell, const char *verb,
               const char *displayName, bool previousWritten, const std::string &command) {
  RegistryKey verbKey(store);
  verbKey.CreateSubKey(shell, verb, false);
  if (displayName && previousWritten)
    verbKey.SetString(nullptr, displayName);
  RegistryKey commandKey(store);
  commandKey.CreateSubKey(verbKey, "command", false);
  return commandKey.SetString(nullptr, command);
}

// Writes the association for the installed program; gives the outcome of the last command.
bool RegisterAssociation(const InstallContext &context, const std::string &installed) {
  RegistryKey extension(context.store);
  RegistryKey fileType(context.store);
  extension.Open(RegistryRoot::ClassesRoot, kClipExtension, true, false);
  fileType.Open(RegistryRoot::ClassesRoot, kClipFileType, true, false);
  if (!extension.SetString(nullptr, kClipFileType) ||
      !fileType.SetString(nullptr, "QVJ Video Clip"))
    return false;

  RegistryKey shell(context.store);
  shell.CreateSubKey(fileType, "shell", false);
  bool written = WriteVerb(context.store, shell, "open", nullptr, true, VerbCommand(installed, ""));
  written = WriteVerb(context.store, shell, "create", "Create AVI in My Documents", written,
                      VerbCommand(installed, "/c"));
  written = WriteVerb(context.store, shell, "createto", "Create AVI", written,
                      VerbCommand(installed, "/ct"));
  context.shell.NotifyAssociationsChanged(context.store, ClipDesktopType());
  return written;
}

// The thumbnailer and the GStreamer plugin go with the program when they lie beside it; they
// are extras, so a copy that fails only leaves one out.
FileOpResult CopyCompanions(const InstallContext &context, const std::string &from,
                            const std::string &folder) {
  for (const char *name : {kThumbnailerName, kGStreamerPluginName}) {
    std::string companion = from + kPathSeparator + name;
    if (!context.shell.Exists(companion))
      continue;
    if (context.shell.Copy(companion, folder + kPathSeparator + name,
                           Translate("Installation", "Installing..."), kInstallCopyFlags,
                           context.copyProgress) == FileOpResult::Aborted)
      return FileOpResult::Aborted;
  }
  return FileOpResult::Success;
}

} // namespace

bool InstallProgram(const InstallContext &context) {
  std::optional<std::string> programFiles = ProgramFilesFolder(context.store);
  if (!programFiles) {
    context.messages.Show(Translate("Installation", "Failed to find program files path"));
    return false;
  }
  std::string folder = *programFiles + kPathSeparator + "Reelcrafter";

  ProgramPath running = context.runningProgram();
  if (running.path.empty()) {
    std::string text;
    SystemErrorText(uint32_t(running.error), text);
    context.messages.Show(Translate("Installation", "Failed to get module filename.\n") + text);
    return false;
  }
  std::string installed = folder + kPathSeparator + FileName(running.path);

  FileOpResult copied =
      context.shell.Copy(running.path, installed, Translate("Installation", "Installing..."),
                         kInstallCopyFlags, context.copyProgress);
  if (copied == FileOpResult::Success)
    copied = CopyCompanions(context, ParentFolder(running.path), folder);
  if (copied != FileOpResult::Success) {
    if (copied == FileOpResult::Failed)
      context.messages.Show(Translate("Installation", "Failed to copy file!"));
    return false;
  }
  return RegisterAssociation(context, installed);
}

bool RemoveRegistration(const InstallContext &context) {
  const std::string type = kClipFileType;
  const char *const deepestFirst[] = {"\\shell\\open\\command",
                                      "\\shell\\open",
                                      "\\shell\\create\\command",
                                      "\\shell\\create",
                                      "\\shell\\createto\\command",
                                      "\\shell\\createto",
                                      "\\shell",
                                      ""};
  RegistryKeyId classes = RegistryStore::Root(RegistryRoot::ClassesRoot);
  for (const char *key : deepestFirst)
    context.store.DeleteKey(classes, type + key);
  context.store.DeleteKey(classes, kClipExtension);
  // The desktop must lose the verbs together with the keys.
  context.shell.NotifyAssociationsChanged(context.store, ClipDesktopType());
  return true;
}

} // namespace reelcraft
