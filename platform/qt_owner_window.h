#pragma once

class QWidget;

namespace reelcraft {

// The window that owns a box the program opens now: the modal dialog in front if there is one,
// else the active window; null when the application has no active window.
QWidget *OwnerWindow();

} // namespace reelcraft
