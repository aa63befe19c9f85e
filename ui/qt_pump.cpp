#include "ui/qt_pump.h"

#include <QCoreApplication>

namespace reelcraft {

void QtPump::RunPending() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

} // namespace reelcraft
