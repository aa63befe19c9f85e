// SPDX-License-Identifier: MIT
#pragma once

#include "engine/interfaces.h"

#include <QApplication>
#include <QEvent>
#include <QString>

#include <string>

class QObject;
class QWidget;

namespace reelcraft {

// The event loop, windows and cursor as the dialog kit uses them, and the text conversion at
// the border to Qt.

// Texts and paths are bytes in the local 8-bit encoding outside Qt; QString only inside it.
inline QString FromLocal(const std::string &text) {
  return QString::fromLocal8Bit(text.data(), qsizetype(text.size()));
}
inline std::string ToLocal(const QString &text) { return text.toLocal8Bit().toStdString(); }

// Processes the events that are waiting, posted ones included, and returns at once.
class QtPump : public Pump {
public:
  void RunPending() override;
};

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

// The window that owns a box the program opens now: the modal dialog in front if there is one,
// else the active window; null when the application has no active window.
QWidget *OwnerWindow();

// Makes `owner`'s window the active one again, once a window in front of it has closed. A window
// manager would do it; without one the keyboard stays with nobody.
void ReturnActivation(QWidget *owner);

// Shows the wait cursor over the application while it lives.
class BusyCursor {
public:
  BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~BusyCursor() { QApplication::restoreOverrideCursor(); }
  BusyCursor(const BusyCursor &) = delete;
  BusyCursor &operator=(const BusyCursor &) = delete;
};

// A window that waits for the user (a message box, a copy's window with its Cancel) shows the
// ordinary pointer, also while the application is busy.
class NormalCursor {
public:
  NormalCursor() : busy_(QApplication::overrideCursor() != nullptr) {
    if (busy_)
      QApplication::setOverrideCursor(Qt::ArrowCursor);
  }
  ~NormalCursor() {
    if (busy_)
      QApplication::restoreOverrideCursor();
  }
  NormalCursor(const NormalCursor &) = delete;
  NormalCursor &operator=(const NormalCursor &) = delete;

private:
  bool busy_;
};

} // namespace reelcraft
