// SPDX-License-Identifier: MIT
#pragma once

namespace reelcraft {

// What a control (or, for PostedMessage, the dialog) reports to its dialog.
enum class Notification {
  Clicked,          // push button or check box
  DoubleClicked,    // list item
  SelectionChanged, // list
  TextChanged,      // edit, by the user or by the program
  KillFocus,        // the focus moved from the control to another one of the same window
  PostedMessage,    // the id is a private message number posted with PostMessageTo
};

} // namespace reelcraft
