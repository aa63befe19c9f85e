// SPDX-License-Identifier: MIT
#pragma once

// The dialog kit of the system the program is built for, under the names the windows use: the
// windows' logic is written once against these, and each system provides them in its own files
// (qt_*, win32_*) with the same behaviour.
#ifdef _WIN32
#include "ui/win32_busy_cursor.h"
#include "ui/win32_copy_progress.h"
#include "ui/win32_messages.h"
#include "ui/win32_progress_sink.h"
#include "ui/win32_pump.h"
#include "ui/win32_template_dialog.h"
#else
#include "ui/qt_copy_progress.h"
#include "ui/qt_events.h"
#include "ui/qt_messages.h"
#include "ui/qt_progress_sink.h"
#include "ui/qt_template_dialog.h"

#include <QIcon>
#include <QListWidget>
#include <QProgressBar>
#endif
#include "ui/window_types.h"

#include <string>

namespace reelcraft {

#ifdef _WIN32
using WindowIcon = HICON;
using WindowProgressSink = Win32ProgressSink;
using WindowPump = Win32Pump;
using WindowCopyProgress = Win32CopyProgress;
using WindowMessages = Win32Messages;
#else
using WindowIcon = QIcon;
using WindowProgressSink = QtProgressSink;
using WindowPump = QtPump;
using WindowCopyProgress = QtCopyProgress;
using WindowMessages = QtMessages;
#endif

// Tells the user on the desktop, beside the windows: a notification where the desktop has a
// service for them, else whatever draws the eye to the program. False when nothing was shown.
bool NotifyDesktop(const std::string &summary, const std::string &body);

} // namespace reelcraft
