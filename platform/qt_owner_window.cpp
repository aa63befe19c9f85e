#include "platform/qt_owner_window.h"

#include <QApplication>
#include <QWidget>

namespace reelcraft {

QWidget *OwnerWindow() {
  if (QWidget *modal = QApplication::activeModalWidget())
    return modal;
  return QApplication::activeWindow();
}

} // namespace reelcraft
