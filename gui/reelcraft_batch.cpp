// SPDX-License-Identifier: MIT
// reelcraft-batch: the batch window alone, on the current directory and the documents folder,
// without the start-up's registration check.
#include "gui/application_setup.h"
#include "gui/batch/run_batch_window.h"
#include "ui/qt_messages.h"

#include <QApplication>

int main(int argc, char **argv) {
  using namespace reelcraft;
  QApplication application(argc, argv);
  ApplicationSetup setup;
  QtMessages messages;
  Shell shell;
  RunBatchWindow(messages, shell);
  return 0;
}
