// SPDX-License-Identifier: MIT
#include "ui/qt_messages.h"

#include "ui/qt_events.h"

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
  QWidget *owner = OwnerWindow();
  QMessageBox box(icon == MessageIcon::Question ? QMessageBox::Question : QMessageBox::Warning,
                  ProgramName(), FromLocal(text), QMessageBox::NoButton, owner);
  // Texts carry names from outside: markup in a name must not rewrite the question.
  box.setTextFormat(Qt::PlainText);
  if (buttons == MessageButtons::Ok) {
    box.setStandardButtons(QMessageBox::Ok);
  } else {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(buttons == MessageButtons::YesNo ? QMessageBox::Yes : QMessageBox::No);
  }
  int answer = box.exec();
  ReturnActivation(owner);
  if (buttons == MessageButtons::Ok)
    return MessageAnswer::Ok;
  return answer == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
}

} // namespace reelcraft
