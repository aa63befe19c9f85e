// SPDX-License-Identifier: MIT
// Every control of every window has a name and a description for screen readers.
#include "gui/batch/batch_dialog.h"
#include "gui/register/register_prompt_dialog.h"
#include "gui/single/convert_progress_dialog.h"
#include "tests/support/environment.h"
#include "tests/support/scripted_messages.h"
#include "tests/support/temp_dir.h"
#include "tests/ui/modal_driver.h"
#include "ui/folder_picker.h"
#include "ui/qt_copy_progress.h"

#include <QAccessible>
#include <QDialog>

#include <gtest/gtest.h>

#include <set>

namespace reelcraft {
namespace {

// The controls a person works with or reads a state from; labels and frames are read by their
// text, the items of lists and trees by theirs.
bool IsControl(QAccessible::Role role) {
  static const std::set<QAccessible::Role> controls = {
      QAccessible::PushButton,   QAccessible::CheckBox, QAccessible::RadioButton,
      QAccessible::EditableText, QAccessible::List,     QAccessible::Tree,
      QAccessible::ProgressBar,  QAccessible::ComboBox, QAccessible::SpinBox};
  return controls.count(role) != 0;
}

// The window's controls without a name or a description, as "role class"; counts the controls.
void Walk(QAccessibleInterface *node, std::vector<std::string> &unnamed, int &controls) {
  if (!node)
    return;
  if (IsControl(node->role())) {
    ++controls;
    if (node->text(QAccessible::Name).trimmed().isEmpty() ||
        node->text(QAccessible::Description).trimmed().isEmpty())
      unnamed.push_back(std::to_string(node->role()) + " " +
                        node->object()->metaObject()->className() + " \"" +
                        node->text(QAccessible::Name).toStdString() + "\"");
    if (node->role() == QAccessible::List || node->role() == QAccessible::Tree)
      return;
  }
  for (int i = 0; i < node->childCount(); ++i)
    Walk(node->child(i), unnamed, controls);
}

void ExpectAllNamed(QWidget &window, int atLeast) {
  std::vector<std::string> unnamed;
  int controls = 0;
  Walk(QAccessible::queryAccessibleInterface(&window), unnamed, controls);
  EXPECT_GE(controls, atLeast) << window.metaObject()->className();
  EXPECT_EQ(unnamed, std::vector<std::string>{}) << window.metaObject()->className();
}

TEST(Accessibility, EveryControlOfEveryWindowHasANameAndADescription) {
  test::TempDir dir;
  test::ScopedEnvironment registry("REELCRAFT_REGISTRY", dir / "registry.sqlite");
  ScriptedMessages messages;
  Shell shell;

  BatchDialog batch(BatchServices{messages, shell, nullptr});
  ExpectAllNamed(batch, 13);
  RegistryStore store;
  RegisterPromptDialog prompt(store);
  ExpectAllNamed(prompt, 3);
  ConvertProgressDialog single(dir / "a.qvj", dir / "a.avi", false, false, nullptr, messages,
                               shell);
  ExpectAllNamed(single, 2);

  QtCopyProgress copy(nullptr, messages);
  copy.Begin("Writing AVI to target location", 1);
  ExpectAllNamed(*copy.window(), 2);
  copy.End();

  FolderPicker picker("Reelcraft 1-05", "Select folder to find QVJ files", dir.path().string(),
                      nullptr, messages);
  bool walked = false;
  test::WhenModalAppears([&](QWidget *window) {
    ExpectAllNamed(*window, 4);
    walked = true;
    static_cast<QDialog *>(window)->reject();
  });
  picker.DoModal();
  EXPECT_TRUE(walked);
}

} // namespace
} // namespace reelcraft
