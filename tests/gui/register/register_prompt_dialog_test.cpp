// SPDX-License-Identifier: MIT
#include "app/settings.h"
#include "gui/register/register_prompt_dialog.h"
#include "gui/resources/dialog_templates.h"

#include "tests/gui/settings_probe.h"
#include "tests/support/temp_dir.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace reelcraft {
namespace {

enum class Ending { Yes, No, Escape, CloseBox, Enter };

struct Outcome {
  int result = 0;
  bool boxTicked = false;
  std::optional<uint32_t> stored;
  bool keyExists = false;
};

// Runs the prompt on a store file, ticking the box first if asked, and ends it as a person
// would.
Outcome RunPrompt(const std::string &storeFile, bool tick, Ending ending) {
  Outcome outcome;
  {
    RegistryStore store(storeFile);
    RegisterPromptDialog prompt(store);
    QTimer::singleShot(0, [&] {
      prompt.As<QCheckBox>(IDC_NEVER_ASK)->setChecked(tick);
      switch (ending) {
      case Ending::Yes:
        prompt.As<QPushButton>(IDOK)->click();
        break;
      case Ending::No:
        prompt.As<QPushButton>(IDCANCEL)->click();
        break;
      case Ending::Escape:
        QTest::keyClick(&prompt, Qt::Key_Escape);
        break;
      case Ending::CloseBox:
        prompt.close();
        break;
      case Ending::Enter:
        QTest::keyClick(prompt.focusWidget(), Qt::Key_Return);
        break;
      }
    });
    outcome.result = prompt.DoModal();
    outcome.boxTicked = prompt.As<QCheckBox>(IDC_NEVER_ASK)->isChecked();
  }
  test::SettingsProbe probe(storeFile);
  outcome.stored = probe.Read(kNeverAskRegisterSetting);
  outcome.keyExists = probe.KeyExists();
  return outcome;
}

TEST(RegisterPrompt, OpensUntickedWithItsCaptionAndTheFocusOnNo) {
  test::TempDir dir;
  RegistryStore store(dir / "registry.sqlite");
  RegisterPromptDialog prompt(store);
  QTimer::singleShot(0, [&] {
    EXPECT_EQ(prompt.windowTitle().toStdString(), "Reelcraft 1-05");
    EXPECT_FALSE(prompt.As<QCheckBox>(IDC_NEVER_ASK)->isChecked());
    EXPECT_EQ(prompt.focusWidget(), prompt.Control(IDCANCEL));
    prompt.EndDialog(IDCANCEL);
  });
  prompt.DoModal();
}

TEST(RegisterPrompt, YesTicksTheBoxAndStoresTheChoiceCreatingTheSettingsKey) {
  test::TempDir dir;
  Outcome yes = RunPrompt(dir / "registry.sqlite", false, Ending::Yes);
  EXPECT_EQ(yes.result, IDOK);
  EXPECT_TRUE(yes.boxTicked);
  EXPECT_EQ(yes.stored, 1u);
  EXPECT_TRUE(yes.keyExists);
}

TEST(RegisterPrompt, EveryOtherEndingIsCancelAndStoresOnlyATickedBox) {
  for (Ending ending : {Ending::No, Ending::Escape, Ending::CloseBox, Ending::Enter}) {
    for (bool tick : {false, true}) {
      test::TempDir dir;
      Outcome outcome = RunPrompt(dir / "registry.sqlite", tick, ending);
      SCOPED_TRACE(testing::Message() << "ending " << int(ending) << " ticked " << tick);
      EXPECT_EQ(outcome.result, IDCANCEL);
      EXPECT_EQ(outcome.boxTicked, tick);
      EXPECT_EQ(outcome.stored, tick ? std::optional<uint32_t>(1) : std::nullopt);
      EXPECT_EQ(outcome.keyExists, tick);
    }
  }
}

TEST(RegisterPrompt, KeepsTheOtherSettingsOfAnExistingKey) {
  test::TempDir dir;
  test::SettingsProbe(dir / "registry.sqlite").Write(kVersionSetting, 0x104);
  RunPrompt(dir / "registry.sqlite", true, Ending::No);
  test::SettingsProbe probe(dir / "registry.sqlite");
  EXPECT_EQ(probe.Read(kVersionSetting), 0x104u);
  EXPECT_EQ(probe.Read(kNeverAskRegisterSetting), 1u);
}

} // namespace
} // namespace reelcraft
