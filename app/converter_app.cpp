// SPDX-License-Identifier: MIT
#include "app/converter_app.h"

#include "app/system_installation.h"
#include "sys/error_text.h"
#include "sys/file_system.h"

namespace reelcraft {

ConverterApp::ConverterApp(const InstallContext &context, AppWindows windows)
    : context_(context), windows_(std::move(windows)), settings_(context.store) {}

int ConverterApp::Run(const std::optional<CommandLineArguments> &arguments) {
  // Created when missing: otherwise the values stored after a first installation would be
  // dropped, and every later start would offer the upgrade again.
  settings_.Open(RegistryRoot::CurrentUser, kSettingsKey, true, false);
  int status =
      RunStartupSequence(arguments, *this, [this] { return context_.shell.DocumentsFolder(); });
  settings_.Close();
  return status;
}

uint32_t ConverterApp::ReadSetting(const char *name) {
  uint32_t value = 0;
  settings_.QueryDword(name, value);
  return value;
}

void ConverterApp::WriteSetting(const char *name, uint32_t value) {
  settings_.SetDword(name, value);
}

// A missing store that could not be made is still a first start.
std::optional<std::string> ConverterApp::UnreadableSettings() {
  const RegistryStore &store = context_.store;
  if (settings_.IsOpen() || !PathExists(store.file()))
    return std::nullopt;
  std::string why;
  switch (store.problem()) {
  case StoreProblem::Damaged:
    why = "The file " + store.file() + " is damaged.";
    break;
  case StoreProblem::Locked:
    why = "Another program is using " + store.file() + ".";
    break;
  case StoreProblem::NotAStore:
    why = store.file() + " is not a settings file of Reelcraft.";
    break;
  case StoreProblem::CannotOpen:
  case StoreProblem::None: {
    std::string reason;
    SystemErrorText(uint32_t(store.systemError()), reason);
    why = store.file() + " cannot be opened" + (reason.empty() ? "" : ": " + reason) + ".";
    break;
  }
  }
  return "Reelcraft cannot read its settings. " + why +
         "\nIt is left as it is: until it can be read, no setting is saved and the program is "
         "neither registered nor removed.";
}

bool ConverterApp::RegistersOnlyTheDefault() {
  ProgramPath running = context_.runningProgram();
  return !running.path.empty() && SystemDataFolderOf(running.path).has_value();
}

bool ConverterApp::InstallProgram() { return RegisterProgram(context_); }

void ConverterApp::RemoveRegistration() { UnregisterProgram(context_); }

bool ConverterApp::RunRegisterPrompt(bool onlyTheDefault) {
  return windows_.registerPrompt(onlyTheDefault);
}

int ConverterApp::RunSingleClip(const SingleClipRequest &request) {
  return windows_.singleClip(request);
}

void ConverterApp::RunBatchWindow() { windows_.batch(); }

MessageSink &ConverterApp::Messages() { return context_.messages; }

} // namespace reelcraft
