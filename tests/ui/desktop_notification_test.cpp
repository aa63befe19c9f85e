// SPDX-License-Identifier: MIT
#include "ui/qt_desktop_notification.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVirtualObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <gtest/gtest.h>

namespace reelcraft {
namespace {

// The desktop's notification service as the test's own: records what it is told.
class NotificationService : public QDBusVirtualObject {
public:
  QString introspect(const QString &) const override { return QString(); }
  bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override {
    received.push_back(message);
    connection.send(message.createReply(QVariant::fromValue(uint(1))));
    return true;
  }
  std::vector<QDBusMessage> received;
};

TEST(DesktopNotification, ReachesTheSessionsNotificationServiceWithTheProgramsNameAndIcon) {
  if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty())
    GTEST_SKIP() << "dbus-daemon not found (Debian: dbus-daemon)";
  // A session bus of the test's own, so that no desktop shows the notification.
  QProcess daemon;
  daemon.start(
      QStringLiteral("dbus-daemon"),
      {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address")});
  ASSERT_TRUE(daemon.waitForReadyRead(10000));
  QString address = QString::fromUtf8(daemon.readLine()).trimmed();
  NotificationService service;
  {
    QDBusConnection desktop = QDBusConnection::connectToBus(address, QStringLiteral("desktop"));
    ASSERT_TRUE(
        desktop.registerVirtualObject(QStringLiteral("/org/freedesktop/Notifications"), &service));
    ASSERT_TRUE(desktop.registerService(QStringLiteral("org.freedesktop.Notifications")));
    QDBusConnection program = QDBusConnection::connectToBus(address, QStringLiteral("program"));

    EXPECT_TRUE(SendDesktopNotification(QStringLiteral("The clips are converted"),
                                        QStringLiteral("3 converted, 0 incomplete, 1 failed"),
                                        program));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !service.received.empty(); }, 10000));
    ASSERT_EQ(service.received.size(), 1u);
    const QDBusMessage &notify = service.received[0];
    EXPECT_EQ(notify.interface(), QStringLiteral("org.freedesktop.Notifications"));
    EXPECT_EQ(notify.member(), QStringLiteral("Notify"));
    QList<QVariant> arguments = notify.arguments();
    ASSERT_EQ(arguments.size(), 8);
    EXPECT_EQ(arguments[0].toString(), QStringLiteral("Reelcraft"));
    EXPECT_EQ(arguments[2].toString(), QStringLiteral("org.orlancor.Reelcraft"));
    EXPECT_EQ(arguments[3].toString(), QStringLiteral("The clips are converted"));
    EXPECT_EQ(arguments[4].toString(), QStringLiteral("3 converted, 0 incomplete, 1 failed"));
    QVariantMap hints = qdbus_cast<QVariantMap>(arguments[6].value<QDBusArgument>());
    EXPECT_EQ(hints.value(QStringLiteral("desktop-entry")).toString(),
              QStringLiteral("org.orlancor.Reelcraft"));
  }
  QDBusConnection::disconnectFromBus(QStringLiteral("desktop"));
  QDBusConnection::disconnectFromBus(QStringLiteral("program"));
  daemon.kill();
  daemon.waitForFinished();

  // Without a bus there is nobody to tell, and nothing waits for one.
  EXPECT_FALSE(SendDesktopNotification(QStringLiteral("summary"), QStringLiteral("body"),
                                       QDBusConnection(QStringLiteral("no bus"))));
}

} // namespace
} // namespace reelcraft
