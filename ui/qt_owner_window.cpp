#include "ui/qt_owner_window.h"

#include <QApplication>
#include <QWidget>

namespace reelcraft {

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
