// SPDX-License-Identifier: MIT
#include "app/startup_sequence.h"

#include "sys/translation.h"

#include <cstdio>

namespace reelcraft {

namespace {

std::string Format(const std::string &format, uint32_t stamp, uint32_t other = 0) {
  char text[512];
  std::snprintf(text, sizeof text, format.c_str(), VersionText(stamp).c_str(),
                VersionText(other).c_str());
  return text;
}

bool AskYes(StartupServices &services, const std::string &question) {
  return services.Messages().Show(question, MessageButtons::YesNo) == MessageAnswer::Yes;
}

// Installs; gives true when the run is over (installed), false to go on to the batch window.
// Making a packaged program the default installs nothing: the user came for the batch window.
bool Install(StartupServices &services) {
  if (services.RegistersOnlyTheDefault()) {
    // The registration has said why it failed.
    if (services.InstallProgram()) {
      services.WriteSetting(kVersionSetting, kVersionStamp);
      services.WriteSetting(kNeverAskRegisterSetting, 1);
    }
    return false;
  }
  if (!services.InstallProgram()) {
    services.Messages().Show(Translate("Startup", "Installation failed!"));
    return false;
  }
  services.WriteSetting(kVersionSetting, kVersionStamp);
  services.WriteSetting(kNeverAskRegisterSetting, 1);
  services.Messages().Show(Translate("Startup", "Installation completed successfully"));
  return true;
}

std::string UpgradeQuestion(uint32_t stored) {
  if (stored == 0)
    return Format(Translate("Startup", "Would you like to upgrade to version %s?"), kVersionStamp);
  return Format(Translate("Startup", "Version %s of this application is currently registered.\n"
                                     "Would you like to upgrade to version %s?"),
                stored, kVersionStamp);
}

// Tells the user, once in a run, when the settings cannot be read; true then.
bool SaidSettingsUnreadable(StartupServices &services) {
  std::optional<std::string> message = services.UnreadableSettings();
  if (message)
    services.Messages().Show(*message);
  return message.has_value();
}

void RegistrationCheckThenBatch(StartupServices &services) {
  // Settings that cannot be read might say "never ask": asking would break that promise.
  if (SaidSettingsUnreadable(services)) {
    services.RunBatchWindow();
    return;
  }
  if (services.ReadSetting(kNeverAskRegisterSetting) == 0) {
    if (services.RunRegisterPrompt(services.RegistersOnlyTheDefault()) && Install(services))
      return;
  } else {
    uint32_t stored = services.ReadSetting(kVersionSetting);
    if (stored < kVersionStamp && AskYes(services, UpgradeQuestion(stored)) && Install(services))
      return;
  }
  services.RunBatchWindow();
}

void ReRegister(StartupServices &services) {
  uint32_t stored = services.ReadSetting(kVersionSetting);
  if (stored > kVersionStamp) {
    std::string question =
        Format(Translate("Startup", "Version %s of this application is already registered.\n"
                                    "Are you sure you want to overwrite with version %s?\n"),
               stored, kVersionStamp);
    if (!AskYes(services, question))
      return;
  }
  services.WriteSetting(kNeverAskRegisterSetting, 0);
  RegistrationCheckThenBatch(services);
}

void Remove(StartupServices &services) {
  if (!AskYes(services,
              Translate("Startup", "Are you sure you want to remove this application?"))) {
    RegistrationCheckThenBatch(services);
    return;
  }
  services.RemoveRegistration();
  services.WriteSetting(kNeverAskRegisterSetting, 0);
  services.Messages().Show(Translate("Startup", "Removal succeeded!"));
}

} // namespace

int RunStartupSequence(const std::optional<CommandLineArguments> &arguments,
                       StartupServices &services, const DocumentsFolderQuery &documentsFolder) {
  std::string first = arguments ? arguments->first : "";
  switch (ClassifyMode(arguments.has_value(), first)) {
  case Mode::Invalid:
    services.Messages().Show(Translate("Startup", "Invalid command line options"));
    return 2;
  case Mode::Batch:
    RegistrationCheckThenBatch(services);
    break;
  // Registering and removing both record what they did in the settings.
  case Mode::ReRegister:
    if (!SaidSettingsUnreadable(services))
      ReRegister(services);
    break;
  case Mode::Remove:
    if (!SaidSettingsUnreadable(services))
      Remove(services);
    break;
  case Mode::SingleClip:
    if (services.RunSingleClip(MakeSingleClipRequest(first, arguments->second, documentsFolder)) ==
        2)
      RegistrationCheckThenBatch(services);
    break;
  }
  return 0;
}

} // namespace reelcraft
