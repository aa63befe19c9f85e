// SPDX-License-Identifier: MIT
// The widgets under test need an application object for the whole run, and no display. Clips
// that a test removes go to a Trash of the run's own, never to the user's.
#include "tests/support/temp_dir.h"

#include <QApplication>

#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char **argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  reelcraft::test::TempDir home;
  setenv("HOME", home.path().c_str(), 1);
  setenv("XDG_DATA_HOME", (home / ".local/share").c_str(), 1);
  QApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
