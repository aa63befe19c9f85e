// SPDX-License-Identifier: MIT
#include "tests/ui/modal_driver.h"
#include "ui/qt_events.h"
#include "ui/qt_messages.h"
#include "ui/qt_progress_sink.h"

#include <QDialog>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace reelcraft {
namespace {

double Fraction(const QProgressBar &bar) {
  return double(bar.value() - bar.minimum()) / double(bar.maximum() - bar.minimum());
}

TEST(QtProgressSink, ScalesFullThirtyTwoBitRangesAndShowsPositionsPastTheEndAsFull) {
  QProgressBar bar;
  QtProgressSink sink(bar);
  sink.SetRange(0, UINT32_MAX);
  EXPECT_LE(bar.maximum(), INT_MAX);
  sink.SetPosition(0x80000000u);
  EXPECT_NEAR(Fraction(bar), 0.5, 1e-6);
  sink.SetPosition(UINT32_MAX);
  EXPECT_EQ(bar.value(), bar.maximum());

  // The picture phase of a small clip: the first position is already past the high bound.
  sink.SetRange(0, 150000);
  sink.SetStep(1);
  sink.SetPosition(0);
  EXPECT_EQ(bar.value(), 0);
  sink.SetPosition(204800);
  EXPECT_EQ(bar.value(), bar.maximum());

  // The separation phase: steps of 512 from 512, past the end on the last block.
  sink.SetRange(0, 1300);
  sink.SetStep(512);
  sink.SetPosition(512);
  std::vector<double> seen{Fraction(bar)};
  for (int i = 0; i < 3; ++i) {
    sink.StepIt();
    seen.push_back(Fraction(bar));
  }
  EXPECT_NEAR(seen[0], 512.0 / 1300, 1e-6);
  EXPECT_NEAR(seen[1], 1024.0 / 1300, 1e-6);
  EXPECT_EQ(seen[2], 1.0);
  EXPECT_EQ(seen[3], 1.0);

  sink.SetRange(1000, 3000); // a low bound other than 0
  sink.SetPosition(2000);
  EXPECT_NEAR(Fraction(bar), 0.5, 1e-6);
  sink.SetPosition(10);
  EXPECT_EQ(bar.value(), bar.minimum());
}

class Receiver : public QObject {
public:
  bool event(QEvent *event) override {
    if (event->type() != PostedMessageEvent::EventType())
      return QObject::event(event);
    messages.push_back(static_cast<PostedMessageEvent *>(event)->message());
    return true;
  }
  std::vector<int> messages;
};

TEST(QtPump, DeliversPostedMessagesInOrderAndReturnsWhenNoneAreLeft) {
  Receiver receiver;
  PostMessageTo(receiver, 0x800A);
  PostMessageTo(receiver, 0x8014);
  EXPECT_TRUE(receiver.messages.empty()) << "posted, not sent";
  QtPump pump;
  pump.RunPending();
  EXPECT_EQ(receiver.messages, (std::vector<int>{0x800A, 0x8014}));
  pump.RunPending(); // nothing waiting: returns at once
  EXPECT_EQ(receiver.messages.size(), 2u);
}

TEST(BusyCursor, ShowsTheWaitCursorWhileItLivesEvenWhenNested) {
  ASSERT_EQ(QApplication::overrideCursor(), nullptr);
  {
    BusyCursor outer;
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    { BusyCursor inner; }
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  }
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(OwnerWindow, IsTheModalWindowInFront) {
  QDialog outer;
  QWidget *ownerOfOuter = nullptr;
  QWidget *ownerOfInner = nullptr;
  QTimer::singleShot(0, [&] {
    ownerOfOuter = OwnerWindow();
    QDialog inner(&outer);
    QTimer::singleShot(0, [&] {
      ownerOfInner = OwnerWindow();
      inner.accept();
    });
    inner.exec();
    outer.accept();
  });
  outer.exec();
  EXPECT_EQ(ownerOfOuter, &outer);
  EXPECT_NE(ownerOfInner, nullptr);
  EXPECT_NE(ownerOfInner, &outer);
}

// Without a window manager nothing else gives the window under a box the keyboard back.
TEST(OwnerWindow, IsTheActiveWindowAgainOnceABoxOverItHasClosed) {
  QDialog outer;
  QtMessages messages;
  bool activeAgain = false;
  QTimer::singleShot(0, [&] {
    EXPECT_TRUE(QTest::qWaitForWindowActive(&outer));
    test::ClickButtonWhenModal("OK", &outer);
    messages.Show("Failed to get path", MessageButtons::Ok, MessageIcon::Exclamation);
    activeAgain = QTest::qWaitForWindowActive(&outer);
    outer.accept();
  });
  outer.exec();
  EXPECT_TRUE(activeAgain);
}

// A name is text, whatever it holds: markup in it shows as written and changes nothing else.
TEST(QtMessages, ShowNamesAsPlainText) {
  const std::string name = "/card/<h2>Keep the original clip? (it will not be converted)"
                           "<font color=#efefef>x.qvj";
  QtMessages messages;
  QString shown;
  Qt::TextFormat format = Qt::RichText;
  test::WhenModalAppears([&](QWidget *window) {
    auto *box = qobject_cast<QMessageBox *>(window);
    ASSERT_NE(box, nullptr);
    shown = box->text();
    format = box->textFormat();
    box->button(QMessageBox::No)->click();
  });
  messages.Show(name + "\nWould you like to convert this file to AVI format?",
                MessageButtons::YesNo, MessageIcon::Question);
  EXPECT_EQ(format, Qt::PlainText);
  EXPECT_EQ(shown.toStdString(), name + "\nWould you like to convert this file to AVI format?");
}

} // namespace
} // namespace reelcraft
