// SPDX-License-Identifier: MIT
#include "gui/resources/dialog_templates.h"
#include "ui/qt_dialog_builder.h"

#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace reelcraft {
namespace {

struct Built {
  QDialog dialog;
  DialogControls controls;
  explicit Built(const DialogTemplate &t) : controls(BuildDialog(dialog, t)) {}
};

std::string TextOf(QWidget *w) {
  if (auto *b = qobject_cast<QAbstractButton *>(w))
    return b->text().toStdString();
  if (auto *l = qobject_cast<QLabel *>(w))
    return l->text().toStdString();
  if (auto *e = qobject_cast<QLineEdit *>(w))
    return e->text().toStdString();
  return {};
}

// The ids of the controls that Tab visits, starting from the first one that takes Tab.
std::vector<int> TabOrder(const DialogControls &controls) {
  QWidget *first = nullptr;
  for (QWidget *w : controls.InOrder())
    if (!first && (w->focusPolicy() & Qt::TabFocus))
      first = w;
  std::vector<int> ids;
  QWidget *w = first;
  do {
    if ((w->focusPolicy() & Qt::TabFocus) && w->property("controlId").isValid())
      ids.push_back(w->property("controlId").toInt());
    else if (w->focusPolicy() & Qt::TabFocus)
      ids.push_back(-100); // a tab stop that is no control of ours
    w = w->nextInFocusChain();
  } while (w && w != first);
  return ids;
}

// Every control lies inside the dialog at its converted place, and its text fits its width.
void ExpectLaidOutFromDialogUnits(const DialogTemplate &t, Built &built) {
  DialogUnits units = DialogUnits::Of(built.dialog.font());
  ASSERT_GT(units.baseX, 3);
  ASSERT_GT(units.baseY, 8);
  EXPECT_EQ(built.dialog.width(), (t.cx * units.baseX + 2) / 4);
  EXPECT_EQ(built.dialog.height(), (t.cy * units.baseY + 4) / 8);
  ASSERT_EQ(built.controls.InOrder().size(), t.controls.size());
  for (size_t i = 0; i < t.controls.size(); ++i) {
    const ControlTemplate &c = t.controls[i];
    QWidget *w = built.controls.InOrder()[i];
    SCOPED_TRACE(c.text);
    EXPECT_EQ(w->parentWidget(), &built.dialog);
    QRect placed(units.ToPixelsX(c.x), units.ToPixelsY(c.y), units.ToPixelsX(c.cx),
                 units.ToPixelsY(c.cy));
    if (c.kind == ControlKind::StaticText || c.kind == ControlKind::AutoCheckBox) {
      // A label may only grow sideways to fit the stand-in font.
      EXPECT_EQ(w->y(), placed.y());
      EXPECT_EQ(w->height(), placed.height());
      EXPECT_GE(w->width(), placed.width());
      EXPECT_EQ(w->geometry().center().x() == placed.center().x(),
                (c.style & kStyleCentered) != 0 || w->width() == placed.width());
    } else {
      EXPECT_EQ(w->geometry(), placed);
    }
    EXPECT_TRUE(built.dialog.rect().contains(w->geometry()));
    // Nor does it run into the frame of a group box around it.
    for (size_t j = 0; j < t.controls.size(); ++j) {
      const ControlTemplate &box = t.controls[j];
      if (box.kind == ControlKind::GroupBox && j != i && box.x <= c.x && box.y <= c.y &&
          c.x + c.cx <= box.x + box.cx && c.y + c.cy <= box.y + box.cy) {
        EXPECT_LT(w->geometry().right(), built.controls.InOrder()[j]->geometry().right() - 2);
      }
    }
    QString text = QString::fromStdString(TextOf(w)).remove(QLatin1Char('&'));
    if (qobject_cast<QLabel *>(w) && w->height() >= 2 * w->fontMetrics().height()) {
      EXPECT_LE(w->fontMetrics()
                    .boundingRect(QRect(0, 0, w->width(), 1 << 16), Qt::TextWordWrap, text)
                    .height(),
                w->height());
    } else if (qobject_cast<QLabel *>(w) || qobject_cast<QPushButton *>(w)) {
      EXPECT_LE(w->fontMetrics().horizontalAdvance(text), w->width());
    }
  }
}

TEST(DialogUnits, FollowTheAverageLetterWidthAndTheCharacterHeight) {
  DialogUnits units{7, 15};
  EXPECT_EQ(units.ToPixelsX(4), 7);
  EXPECT_EQ(units.ToPixelsX(50), 88); // 87.5 rounds up
  EXPECT_EQ(units.ToPixelsY(8), 15);
  EXPECT_EQ(units.ToPixelsY(14), 26); // 26.25
  QFont font = TemplateFont(BatchTemplate());
  QFontMetrics metrics(font);
  DialogUnits measured = DialogUnits::Of(font);
  int letters = metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  EXPECT_NEAR(measured.baseX, letters / 52.0, 0.5);
  EXPECT_EQ(measured.baseY, metrics.height());
}

TEST(DialogTemplates, BatchWindowHasItsControlsStatesAndTabOrder) {
  Built built(BatchTemplate());
  const DialogControls &c = built.controls;
  EXPECT_TRUE(built.dialog.windowTitle().isEmpty());
  EXPECT_TRUE(built.dialog.windowFlags() & Qt::Window);
  EXPECT_FALSE(built.dialog.windowFlags() & Qt::WindowMinMaxButtonsHint);

  for (int id : {1020, 1022}) {
    ASSERT_NE(c.As<QLineEdit>(id), nullptr) << id;
    EXPECT_TRUE(c.As<QLineEdit>(id)->text().isEmpty());
    EXPECT_TRUE(c.As<QLineEdit>(id)->hasFrame());
  }
  struct Button {
    int id;
    const char *text;
    bool enabled;
  };
  for (Button b :
       {Button{1021, "...", true}, Button{1023, "...", true}, Button{1004, "&Create >>", false},
        Button{1011, "Create &All >>", false}, Button{1019, "Cancel", false},
        Button{1013, "&Play", false}, Button{1025, "E&xit", true}}) {
    auto *button = c.As<QPushButton>(b.id);
    ASSERT_NE(button, nullptr) << b.id;
    EXPECT_EQ(TextOf(button), b.text);
    EXPECT_EQ(button->isEnabled(), b.enabled) << b.id;
    EXPECT_EQ(button->isDefault(), b.id == 1025) << b.id;
  }
  auto *deleteOriginal = c.As<QCheckBox>(1024);
  ASSERT_NE(deleteOriginal, nullptr);
  EXPECT_FALSE(deleteOriginal->isChecked());
  EXPECT_TRUE(deleteOriginal->text().isEmpty());
  EXPECT_EQ(TextOf(c.InOrder()[5]), "Delete");
  EXPECT_EQ(TextOf(c.InOrder()[6]), "Original");

  ASSERT_NE(c.As<QListWidget>(1010), nullptr);
  ASSERT_NE(c.As<QListWidget>(1012), nullptr);
  EXPECT_EQ(c.As<QListWidget>(1010)->selectionMode(), QAbstractItemView::ExtendedSelection);
  EXPECT_EQ(c.As<QListWidget>(1012)->selectionMode(), QAbstractItemView::SingleSelection);
  EXPECT_FALSE(c.As<QListWidget>(1010)->isSortingEnabled());
  EXPECT_EQ(c.As<QListWidget>(1010)->count(), 0);
  ASSERT_NE(c.As<QProgressBar>(1009), nullptr);
  EXPECT_EQ(c.As<QProgressBar>(1009)->value(), 0);

  EXPECT_EQ(TabOrder(c),
            (std::vector<int>{1020, 1021, 1022, 1023, 1024, 1010, 1004, 1011, 1012, 1013, 1025}));
  EXPECT_EQ(c.Control(1019)->focusPolicy(), Qt::ClickFocus);
  EXPECT_EQ(c.Control(1009)->focusPolicy(), Qt::NoFocus);
  EXPECT_EQ(c.Control(kNoControlId), nullptr);
  ExpectLaidOutFromDialogUnits(BatchTemplate(), built);
}

TEST(DialogTemplates, RegisterPromptHasItsControlsStatesAndTabOrder) {
  Built built(RegisterPromptTemplate());
  const DialogControls &c = built.controls;
  EXPECT_TRUE(built.dialog.windowTitle().isEmpty());

  ASSERT_NE(c.As<QPushButton>(1), nullptr);
  ASSERT_NE(c.As<QPushButton>(2), nullptr);
  EXPECT_EQ(TextOf(c.Control(1)), "&Yes");
  EXPECT_EQ(TextOf(c.Control(2)), "&No");
  EXPECT_TRUE(c.As<QPushButton>(1)->isDefault());
  EXPECT_FALSE(c.As<QPushButton>(2)->isDefault());
  auto *frame = qobject_cast<QGroupBox *>(c.InOrder()[2]);
  ASSERT_NE(frame, nullptr);
  EXPECT_TRUE(frame->title().isEmpty());
  EXPECT_EQ(TextOf(c.InOrder()[3]), "Would you like to register this application on your system?");
  EXPECT_EQ(TextOf(c.InOrder()[4]),
            "This will allow 'QVJ' files to be automatically converted to 'AVI' format.");
  auto *neverAsk = c.As<QCheckBox>(1026);
  ASSERT_NE(neverAsk, nullptr);
  EXPECT_EQ(TextOf(neverAsk), "Do not ask me again.");
  EXPECT_FALSE(neverAsk->isChecked());

  EXPECT_EQ(TabOrder(c), (std::vector<int>{1, 2, 1026}));
  ExpectLaidOutFromDialogUnits(RegisterPromptTemplate(), built);
}

TEST(DialogTemplates, ConvertProgressHasItsControlsStatesAndTabOrder) {
  Built built(ConvertProgressTemplate());
  const DialogControls &c = built.controls;
  EXPECT_TRUE(built.dialog.windowTitle().isEmpty());

  auto *label = qobject_cast<QLabel *>(c.InOrder()[0]);
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(TextOf(label), "Creating AVI File.  Press 'Cancel' to stop.");
  EXPECT_TRUE(label->alignment() & Qt::AlignHCenter);
  ASSERT_NE(c.As<QProgressBar>(1009), nullptr);
  auto *cancel = c.As<QPushButton>(1019);
  ASSERT_NE(cancel, nullptr);
  EXPECT_EQ(TextOf(cancel), "Cancel");
  EXPECT_TRUE(cancel->isEnabled());
  EXPECT_FALSE(cancel->isDefault());
  EXPECT_EQ(c.Control(2), nullptr); // Cancel is not the dialog's own cancel command

  EXPECT_EQ(TabOrder(c), (std::vector<int>{1019}));
  ExpectLaidOutFromDialogUnits(ConvertProgressTemplate(), built);
}

} // namespace
} // namespace reelcraft
