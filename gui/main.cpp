// SPDX-License-Identifier: MIT
// reelcraft: the batch window, the single-clip conversion that the file manager's verbs start,
// and the registration of the clip association ("/r", "/u").
#include "app/converter_app.h"
#include "app/program_information.h"
#include "gui/app_windows.h"
#include "gui/application_setup.h"
#include "gui/display_start_guard.h"
#include "sys/file_system.h"
#include "sys/standard_streams.h"
#include "ui/qt_copy_progress.h"
#include "ui/qt_messages.h"

#include <QApplication>

#include <cstdio>
#include <optional>

int main(int argc, char **argv) {
  using namespace reelcraft;
  // Qt's warnings go to descriptor 2, which must never be a file the program writes.
  OpenClosedStandardStreams();
  // Taken before QApplication, which removes the arguments it understands itself.
  CommandLineArguments arguments = ArgumentsOf(argc, argv);
  if (std::optional<std::string> information = ProgramInformation(arguments, PathExists)) {
    std::fputs(information->c_str(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
  }

  std::optional<DisplayStartGuard> displayGuard(std::in_place);
  QApplication application(argc, argv);
  displayGuard.reset();
  ApplicationSetup setup;

  RegistryStore store;
  QtMessages messages;
  Shell shell;
  QtCopyProgress copyProgress(nullptr, messages);
  ConverterApp app({messages, shell, store, copyProgress}, ProgramWindows(store, messages, shell));
  return app.Run(arguments);
}
