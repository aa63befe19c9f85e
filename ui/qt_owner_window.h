#pragma once

class QWidget;

namespace reelcraft {

// The window that owns a box the program opens now: the modal dialog in front if there is one,
// else the active window; null when the application has no active window.
QWidget *OwnerWindow();

// Makes `owner`'s window the active one again, once a window in front of it has closed. A window
// manager would do it; without one the keyboard stays with nobody.
void ReturnActivation(QWidget *owner);

} // namespace reelcraft
