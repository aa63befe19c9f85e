#include "ui/qt_posted_message.h"

#include <QCoreApplication>

namespace reelcraft {

PostedMessageEvent::PostedMessageEvent(int message) : QEvent(EventType()), message_(message) {}

QEvent::Type PostedMessageEvent::EventType() {
  static const QEvent::Type type = QEvent::Type(QEvent::registerEventType());
  return type;
}

void PostMessageTo(QObject &target, int message) {
  QCoreApplication::postEvent(&target, new PostedMessageEvent(message));
}

} // namespace reelcraft
