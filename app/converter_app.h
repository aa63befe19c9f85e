// SPDX-License-Identifier: MIT
#pragma once

#include "app/installation.h"
#include "app/startup_sequence.h"
#include "store/registry_key.h"

#include <functional>

namespace reelcraft {

// The windows that start-up runs, each modally and to its end before the next.
struct AppWindows {
  // True when the user chose to register the program (with true: to make it the default).
  std::function<bool(bool onlyTheDefault)> registerPrompt;
  // The single-clip dialog's result: 2 when the user declined the conversion.
  std::function<int(const SingleClipRequest &)> singleClip;
  std::function<void()> batch;
};

// The application object: start-up over the settings store, the installation and the windows.
// The settings key is held for the whole run.
class ConverterApp : public StartupServices {
public:
  ConverterApp(const InstallContext &context, AppWindows windows);

  // The program's whole run; gives the process's exit status.
  int Run(const std::optional<CommandLineArguments> &arguments);

  uint32_t ReadSetting(const char *name) override;
  void WriteSetting(const char *name, uint32_t value) override;
  std::optional<std::string> UnreadableSettings() override;
  bool RegistersOnlyTheDefault() override;
  bool InstallProgram() override;
  void RemoveRegistration() override;
  bool RunRegisterPrompt(bool onlyTheDefault) override;
  int RunSingleClip(const SingleClipRequest &request) override;
  void RunBatchWindow() override;
  MessageSink &Messages() override;

private:
  InstallContext context_;
  AppWindows windows_;
  RegistryKey settings_;
};

} // namespace reelcraft
