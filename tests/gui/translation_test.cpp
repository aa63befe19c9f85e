// SPDX-License-Identifier: MIT
#include "gui/batch/batch_dialog.h"
#include "gui/translations.h"
#include "sys/translation.h"
#include "tests/support/scripted_messages.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QTimer>

#include <gtest/gtest.h>

#include <map>

namespace reelcraft {
namespace {

// Every text of the batch window that a person sees or hears, by the widget it belongs to.
std::map<std::string, QString> TextsOfTheBatchWindow() {
  ScriptedMessages messages;
  Shell shell;
  BatchDialog window(BatchServices{messages, shell, nullptr});
  std::map<std::string, QString> texts;
  QTimer::singleShot(0, &window, [&] {
    texts["caption"] = window.windowTitle();
    const QList<QWidget *> widgets = window.findChildren<QWidget *>();
    for (int i = 0; i < widgets.size(); ++i) {
      QWidget *widget = widgets[i];
      std::string key = std::to_string(i) + " " + widget->metaObject()->className();
      if (auto *button = qobject_cast<QAbstractButton *>(widget))
        texts[key + " text"] = button->text();
      if (auto *label = qobject_cast<QLabel *>(widget))
        texts[key + " text"] = label->text();
      if (auto *group = qobject_cast<QGroupBox *>(widget))
        texts[key + " title"] = group->title();
      texts[key + " name"] = widget->accessibleName();
      texts[key + " description"] = widget->accessibleDescription();
      texts[key + " tip"] = widget->toolTip();
    }
    window.EndDialog(1);
  });
  window.DoModal();
  EXPECT_EQ(messages.texts(), std::vector<std::string>{});
  return texts;
}

TEST(Translation, TheBatchWindowInGermanShowsNoEnglishTextLeft) {
  std::map<std::string, QString> english = TextsOfTheBatchWindow();
  std::map<std::string, QString> german;
  {
    Translations translations(QLocale(QLocale::German, QLocale::Germany));
    ASSERT_TRUE(translations.found());
    german = TextsOfTheBatchWindow();
  }
  ASSERT_EQ(german.size(), english.size());
  int translated = 0;
  for (const auto &[key, text] : english) {
    // The program's name with its version, and the browse buttons' dots, are no English.
    if (text.isEmpty() || text == QStringLiteral("...") || text.startsWith("Reelcraft "))
      continue;
    EXPECT_NE(german[key], text) << key;
    ++translated;
  }
  EXPECT_GE(translated, 25);
  EXPECT_EQ(german["caption"], english["caption"]);

  // The texts of Qt-free code follow while the translation lives, and only then.
  {
    Translations translations(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(Translate("Startup", "Removal succeeded!"), "Die Anwendung wurde entfernt!");
  }
  EXPECT_EQ(Translate("Startup", "Removal succeeded!"), "Removal succeeded!");
  Translations english_only(QLocale(QLocale::English, QLocale::UnitedStates));
  EXPECT_FALSE(english_only.found());
  EXPECT_EQ(Translate("Startup", "Removal succeeded!"), "Removal succeeded!");
}

} // namespace
} // namespace reelcraft
