// SPDX-License-Identifier: MIT
#include "gui/display_start_guard.h"

#include "app/program_information.h"

#include <QMessageLogger>
#include <QString>

#include <cstdio>
#include <unistd.h>
#include <vector>

namespace reelcraft {

namespace {

struct HeldMessage {
  QtMsgType type;
  const char *category; // Qt's categories live as long as the program
  QString text;
};

// A message handler is a plain function, so what it holds is the process's.
QtMessageHandler previousHandler = nullptr;
std::vector<HeldMessage> heldMessages;

void HoldOrEnd(QtMsgType type, const QMessageLogContext &context, const QString &text) {
  if (type == QtFatalMsg) {
    std::fputs(NoDisplayText().c_str(), stderr);
    std::fflush(stderr);
    _exit(1);
  }
  heldMessages.push_back({type, context.category, text});
}

void PassOn(const HeldMessage &message) {
  QMessageLogger logger(nullptr, 0, nullptr, message.category);
  QByteArray text = message.text.toLocal8Bit();
  switch (message.type) {
  case QtDebugMsg:
    logger.debug("%s", text.constData());
    break;
  case QtInfoMsg:
    logger.info("%s", text.constData());
    break;
  case QtWarningMsg:
    logger.warning("%s", text.constData());
    break;
  default:
    logger.critical("%s", text.constData());
    break;
  }
}

} // namespace

DisplayStartGuard::DisplayStartGuard() { previousHandler = qInstallMessageHandler(HoldOrEnd); }

DisplayStartGuard::~DisplayStartGuard() {
  qInstallMessageHandler(previousHandler);
  std::vector<HeldMessage> held;
  held.swap(heldMessages);
  for (const HeldMessage &message : held)
    PassOn(message);
}

} // namespace reelcraft
