// SPDX-License-Identifier: MIT
#include "gui/application_setup.h"

#include "gui/resources/app_icon.h"
#include "sys/version.h"

#include <QApplication>

namespace reelcraft {

ApplicationSetup::ApplicationSetup() {
  QGuiApplication::setDesktopFileName(QString::fromLatin1(kApplicationId));
  QApplication::setWindowIcon(AppIcon());
}

} // namespace reelcraft
