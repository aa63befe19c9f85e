#include "platform/qt_messages.h"

#include "platform/qt_busy_cursor.h"
#include "platform/qt_owner_window.h"
#include "platform/qt_text.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMessageBox>

namespace reelcraft {

QString ProgramName() {
  QString path = QCoreApplication::applicationFilePath();
  if (path.isEmpty())
    path = QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
  return QFileInfo(path).completeBaseName();
}

MessageAnswer QtMessages::Show(const std::string &text, MessageButtons buttons, MessageIcon icon) {
  NormalCursor pointer;
  QMessageBox box(icon == MessageIcon::Question ? QMessageBox::Question : QMessageBox::Warning,
                  ProgramName(), FromLocal(text), QMessageBox::NoButton, OwnerWindow());
  if (buttons == MessageButtons::Ok) {
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return MessageAnswer::Ok;
  }
  box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
  box.setDefaultButton(QMessageBox::Yes);
  return box.exec() == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
}

} // namespace reelcraft
