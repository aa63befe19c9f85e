#pragma once

#include <QApplication>

namespace reelcraft {

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
