// SPDX-License-Identifier: MIT
#pragma once

#include <QDBusConnection>
#include <QString>

namespace reelcraft {

// Shows a notification on the desktop through its notification service
// (org.freedesktop.Notifications on `bus`), with the program's name and icon. Sent without
// waiting for an answer: a desktop without the service, or a slow one, never holds up the
// window. False when the message could not be sent.
bool SendDesktopNotification(const QString &summary, const QString &body,
                             const QDBusConnection &bus = QDBusConnection::sessionBus());

} // namespace reelcraft
