// SPDX-License-Identifier: MIT
// Runs the single-clip conversion dialog as the shell's verbs will:
//   reelcraft-single CLIP          convert beside the clip, then delete the clip
//   reelcraft-single CLIP /c|/ct   into the documents folder (/ct: choose the folder first)
//   reelcraft-single CLIP TARGET   into TARGET
// The exit status is the dialog's result: 2 declined, 1 otherwise.
#include "app/command_line.h"
#include "desktop/shell.h"
#include "gui/application_setup.h"
#include "gui/single/run_convert_progress_dialog.h"
#include "ui/qt_messages.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char **argv) {
  using namespace reelcraft;
  QApplication app(argc, argv);
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: %s CLIP [/c | /ct | TARGET]\n", argv[0]);
    return 64;
  }
  ApplicationSetup setup;
  Shell shell;
  QtMessages messages;
  SingleClipRequest request = MakeSingleClipRequest(argv[1], argc == 3 ? argv[2] : "",
                                                    [&] { return shell.DocumentsFolder(); });
  return RunConvertProgressDialog(request, messages, shell);
}
