#pragma once

#include <QEvent>

class QObject;

namespace reelcraft {

// A private window message: a number (such as 0x800A) that a window posts to itself or
// another, delivered later by the event loop or the pump.
class PostedMessageEvent : public QEvent {
public:
  explicit PostedMessageEvent(int message);
  int message() const { return message_; }
  static QEvent::Type EventType();

private:
  int message_;
};

// Queues `message` for `target`; it arrives as a PostedMessageEvent once events are processed.
void PostMessageTo(QObject &target, int message);

} // namespace reelcraft
