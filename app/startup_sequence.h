// SPDX-License-Identifier: MIT
#pragma once

#include "app/command_line.h"
#include "app/settings.h"
#include "sys/message_sink.h"

#include <cstdint>
#include <optional>
#include <string>

namespace reelcraft {

// What start-up drives: the settings key it holds for the whole run, the installation, and the
// windows, each run modally. The application object provides the real ones; tests script them.
class StartupServices {
public:
  virtual ~StartupServices() = default;
  // A missing value, or one that is not a 32-bit number, reads as 0. Failed writes are dropped.
  virtual uint32_t ReadSetting(const char *name) = 0;
  virtual void WriteSetting(const char *name, uint32_t value) = 0;
  // When the settings exist but cannot be read (another program holds them locked, the file is
  // damaged), the message that tells the user so: their zeros then say nothing, this is no
  // first start, and nothing is written to them. Nothing when they can be read.
  virtual std::optional<std::string> UnreadableSettings() = 0;
  // True when the running program is one a package installed: registering it then only makes it
  // the user's default for clips, which is no installation.
  virtual bool RegistersOnlyTheDefault() = 0;
  virtual bool InstallProgram() = 0;
  virtual void RemoveRegistration() = 0;
  // True when the user chose Yes. `onlyTheDefault` asks whether to make the program the default
  // for clips rather than to register it.
  virtual bool RunRegisterPrompt(bool onlyTheDefault) = 0;
  // The dialog's result: 2 when the user declined the conversion.
  virtual int RunSingleClip(const SingleClipRequest &request) = 0;
  virtual void RunBatchWindow() = 0;
  virtual MessageSink &Messages() = 0;
};

// Runs the mode that the two arguments ask for; gives the process's exit status: 2 for an
// invalid command line, else 0.
int RunStartupSequence(const std::optional<CommandLineArguments> &arguments,
                       StartupServices &services, const DocumentsFolderQuery &documentsFolder);

} // namespace reelcraft
