// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <utility>
#include <vector>

namespace reelcraft {

// The command ids that end a dialog unless a handler is bound to them: OK and Cancel.
constexpr int kCommandOk = 1;
constexpr int kCommandCancel = 2;

// What a control (or, for PostedMessage, the dialog) reports to its dialog.
enum class Notification {
  Clicked,          // push button or check box
  DoubleClicked,    // list item
  SelectionChanged, // list
  TextChanged,      // edit, by the user or by the program
  KillFocus,        // the focus moved from the control to another one of the same window
  PostedMessage,    // the id is a private message number posted with PostMessageTo
};

// A dialog's table of handlers, by (control id, notification), as both dialog kits bind them.
struct DialogBinding {
  int id;
  Notification notification;
  std::function<void()> handler;
};

class DialogBindings {
public:
  void Set(std::vector<DialogBinding> bindings) { bindings_ = std::move(bindings); }
  void Clear() { bindings_.clear(); }
  // Runs the handler bound to the pair; false when there is none.
  bool Dispatch(int id, Notification notification) const {
    for (const DialogBinding &binding : bindings_) {
      if (binding.id == id && binding.notification == notification) {
        binding.handler();
        return true;
      }
    }
    return false;
  }

private:
  std::vector<DialogBinding> bindings_;
};

} // namespace reelcraft
