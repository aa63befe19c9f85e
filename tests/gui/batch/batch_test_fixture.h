// SPDX-License-Identifier: MIT
#pragma once

#include "desktop/shell.h"
#include "gui/batch/batch_dialog.h"
#include "tests/support/clip_builder.h"
#include "tests/support/environment.h"
#include "tests/support/scripted_messages.h"
#include "tests/support/temp_dir.h"

#include <QListWidget>

#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace reelcraft::test {

// What the person at a copy's progress window does: presses Cancel in the copies named here,
// and answers the replace question from a queue (No when it is empty).
struct CopyScript {
  std::map<std::string, int> abortsByTitle;
  std::vector<bool> replaceAnswers;
  std::vector<std::string> titles;
  std::vector<std::string> asked;
  // Runs as each copy begins, with its title.
  std::function<void(const std::string &)> onBegin;
};

// A clip written for a test: its pictures, and its sound as the AVI must hold it.
struct TestClip {
  std::vector<Bytes> pictures;
  Bytes sound;
};

// The AVI at `avi` holds the clip's pictures as its frames, and its sound, byte for byte.
void ExpectConverted(const std::string &avi, const TestClip &clip);

// Makes the current directory `folder` for the life of the object.
class ScopedCurrentDirectory {
public:
  explicit ScopedCurrentDirectory(const std::string &folder);
  ~ScopedCurrentDirectory();
  ScopedCurrentDirectory(const ScopedCurrentDirectory &) = delete;
  ScopedCurrentDirectory &operator=(const ScopedCurrentDirectory &) = delete;

private:
  std::string previous_;
};

// Input, output and temporary folders of their own; the output folder is the documents folder
// and the input folder the current directory, so the window opens on them.
class BatchWindowTest : public ::testing::Test {
protected:
  BatchWindowTest();

  std::string In(const std::string &name = "") const;
  std::string Out(const std::string &name = "") const;
  // A clip of `pictures` real pictures in the input folder (or at `path`).
  TestClip Clip(const std::string &name, int pictures, bool withSound = false);
  TestClip ClipAt(const std::string &path, int pictures, bool withSound = false);
  // Names in the temporary folder.
  std::vector<std::string> TempFiles() const;

  BatchServices Services();
  // Opens the window, runs `act` in its modal run, closes it; gives the window's result.
  int RunWindow(const std::function<void(BatchDialog &)> &act);

  static QListWidget &Clips(BatchDialog &dialog);
  static QListWidget &Avis(BatchDialog &dialog);
  static std::vector<std::string> Entries(QListWidget &list);
  static std::vector<std::string> Selected(QListWidget &list);
  static bool Enabled(BatchDialog &dialog, int id);
  static void SetText(BatchDialog &dialog, int id, const std::string &text);
  static void Click(BatchDialog &dialog, int id);
  // Moves the focus from a folder field to the clip list, as a click there does.
  static void LeaveField(BatchDialog &dialog, int id);

  TempDir root;
  ScopedEnvironment home;
  ScopedEnvironment config;
  ScopedEnvironment tmpdir;
  std::unique_ptr<ScopedCurrentDirectory> current;
  ScriptedMessages messages;
  CopyScript copies;
  std::vector<std::vector<std::string>> launched;
  bool launchWorks = true;
  bool hasPlayer = true;
  std::vector<std::string> notifications;
  std::function<bool(const FileRef &file)> flush = FlushToDisk;
  Shell shell;

private:
  int nextSeed_ = 1;
};

} // namespace reelcraft::test
