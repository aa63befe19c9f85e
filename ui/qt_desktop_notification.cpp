// SPDX-License-Identifier: MIT
#include "ui/qt_desktop_notification.h"

#include "ui/qt_events.h"
#include "ui/window_kit.h"

#include "sys/version.h"

#include <QDBusMessage>
#include <QStringList>
#include <QVariantMap>

namespace reelcraft {

bool SendDesktopNotification(const QString &summary, const QString &body,
                             const QDBusConnection &bus) {
  if (!bus.isConnected())
    return false;
  QDBusMessage notify = QDBusMessage::createMethodCall(
      QStringLiteral("org.freedesktop.Notifications"),
      QStringLiteral("/org/freedesktop/Notifications"),
      QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
  QString id = QString::fromLatin1(kApplicationId);
  QVariantMap hints{{QStringLiteral("desktop-entry"), id}};
  notify << QStringLiteral("Reelcraft") << uint(0) << id << summary << body << QStringList()
         << hints << int(-1);
  return bus.send(notify);
}

bool NotifyDesktop(const std::string &summary, const std::string &body) {
  return SendDesktopNotification(FromLocal(summary), FromLocal(body));
}

} // namespace reelcraft
