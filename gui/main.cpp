// SPDX-License-Identifier: MIT
// reelcraft: the batch window, the single-clip conversion that the file manager's verbs start,
// and the registration of the clip association ("/r", "/u").
#include "app/converter_app.h"
#include "gui/qt_app_windows.h"
#include "gui/resources/app_icon.h"
#include "sys/standard_streams.h"
#include "ui/qt_copy_progress.h"
#include "ui/qt_messages.h"

#include <QApplication>

int main(int argc, char **argv) {
  using namespace reelcraft;
  // Qt's warnings go to descriptor 2, which must never be a file the program writes.
  OpenClosedStandardStreams();
  // Taken before QApplication, which removes the arguments it understands itself.
  CommandLineArguments arguments = ArgumentsOf(argc, argv);

  QApplication application(argc, argv);
  QGuiApplication::setDesktopFileName(QStringLiteral("reelcraft"));
  QApplication::setWindowIcon(AppIcon());

  RegistryStore store;
  QtMessages messages;
  Shell shell;
  QtCopyProgress copyProgress(nullptr, messages);
  ConverterApp app({messages, shell, store, copyProgress}, QtAppWindows(store, messages, shell));
  return app.Run(arguments);
}
