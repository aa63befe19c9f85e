// SPDX-License-Identifier: MIT
#include "tests/ui/modal_driver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTimer>

namespace reelcraft::test {

void WhenModalAppears(std::function<void(QWidget *)> act, QWidget *below) {
  auto *timer = new QTimer(qApp);
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, timer, [timer, tries = 0, act, below]() mutable {
    QWidget *modal = QApplication::activeModalWidget();
    bool found = modal && modal != below;
    if (!found && ++tries < 500)
      return;
    timer->stop();
    timer->deleteLater();
    if (found)
      act(modal);
  });
  timer->start();
}

void ClickButtonWhenModal(const QString &text, QWidget *below) {
  WhenModalAppears(
      [text](QWidget *modal) {
        for (QAbstractButton *button : modal->findChildren<QAbstractButton *>()) {
          if (button->text().remove(QLatin1Char('&')) == text) {
            button->click();
            return;
          }
        }
      },
      below);
}

} // namespace reelcraft::test
