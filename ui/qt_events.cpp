// SPDX-License-Identifier: MIT
#include "ui/qt_events.h"

#include <QCoreApplication>
#include <QWidget>

namespace reelcraft {

void QtPump::RunPending() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

PostedMessageEvent::PostedMessageEvent(int message) : QEvent(EventType()), message_(message) {}

QEvent::Type PostedMessageEvent::EventType() {
  static const QEvent::Type type = QEvent::Type(QEvent::registerEventType());
  return type;
}

void PostMessageTo(QObject &target, int message) {
  QCoreApplication::postEvent(&target, new PostedMessageEvent(message));
}

QWidget *OwnerWindow() {
  if (QWidget *modal = QApplication::activeModalWidget())
    return modal;
  return QApplication::activeWindow();
}

void ReturnActivation(QWidget *owner) {
  if (!owner || !owner->isVisible())
    return;
  QWidget *window = owner->window();
  window->raise();
  window->activateWindow();
}

} // namespace reelcraft
