// SPDX-License-Identifier: MIT
// reelcraft.exe: the batch window, the single-clip conversion that the shell's verbs start,
// and the registration of the clip association ("/r", "/u").
#include "app/converter_app.h"
#include "app/program_information.h"
#include "desktop/command_text.h"
#include "gui/app_windows.h"
#include "sys/file_system.h"
#include "sys/win32_text.h"
#include "ui/window_kit.h"

#include <commctrl.h>
#include <cstdio>
#include <optional>

namespace {

using namespace reelcraft;

// The shell hands the program its command line whole; it is read as the program always read
// it: the program's path, then the two arguments, an unclosed quote making it invalid.
std::optional<CommandLineArguments> CommandLineOfProcess() {
  std::optional<std::vector<std::string>> split = SplitVerbCommand(Utf8Text(GetCommandLineW()));
  if (!split)
    return std::nullopt;
  CommandLineArguments arguments;
  if (split->size() > 1)
    arguments.first = (*split)[1];
  if (split->size() > 2)
    arguments.second = (*split)[2];
  return arguments;
}

// A program of the window subsystem has no console of its own: the text goes to the console it
// was started from, else into a box.
void ShowInformation(const std::string &text, MessageSink &messages) {
  if (AttachConsole(ATTACH_PARENT_PROCESS)) {
    if (std::FILE *out = _wfopen(L"CONOUT$", L"w")) {
      std::fputs(text.c_str(), out);
      std::fclose(out);
      return;
    }
  }
  messages.Show(text, MessageButtons::Ok);
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  Win32Messages messages;
  std::optional<CommandLineArguments> arguments = CommandLineOfProcess();
  if (arguments) {
    if (std::optional<std::string> information = ProgramInformation(*arguments, PathExists)) {
      ShowInformation(*information, messages);
      return 0;
    }
  }
  RegistryStore store;
  Shell shell;
  Win32CopyProgress copyProgress(nullptr, messages);
  ConverterApp app({messages, shell, store, copyProgress}, ProgramWindows(store, messages, shell));
  return app.Run(arguments);
}
