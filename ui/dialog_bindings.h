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

class DataExchange;

// What the template dialogs of both dialog kits share: the table of handlers, the commands that
// end a dialog unless a handler is bound to them, and the steps a dialog overrides.
class DialogHandlers {
public:
  using Binding = DialogBinding;

  virtual ~DialogHandlers() = default;

  // Ends the modal run with `result` (it returns once the current handler has returned).
  virtual void EndDialog(int result) = 0;
  // Runs DoDataExchange: saving copies the controls into the fields, loading the reverse.
  virtual void UpdateData(bool saving) = 0;

protected:
  // The dialog's table of handlers; call once, from the constructor.
  void Bind(std::vector<Binding> bindings) { bindings_ = std::move(bindings); }

  virtual void DoDataExchange(DataExchange &) {}
  // After the fields have been loaded into the controls. True puts the focus on the first tab
  // stop; false leaves it where the dialog put it.
  virtual bool OnInitDialog() { return true; }
  // Command 1: reads the controls and ends the dialog with 1.
  virtual void OnOK() {
    UpdateData(true);
    EndDialog(kCommandOk);
  }
  // Command 2, Escape, the close box: ends the dialog with 2.
  virtual void OnCancel() { EndDialog(kCommandCancel); }
  // When the modal run has ended, whatever ended it; the controls still exist.
  virtual void OnDestroy() {}
  // The window has been shown (true) or hidden (false) by the program, not by a window
  // manager. When shown, it is already the modal window in front, so boxes opened here are
  // owned by it.
  virtual void OnShowWindow(bool) {}

  // Runs the handler bound to the pair; false when there is none or the dialog is going.
  bool Dispatch(int id, Notification notification) {
    if (destroying_)
      return false;
    for (const Binding &binding : bindings_) {
      if (binding.id == id && binding.notification == notification) {
        binding.handler();
        return true;
      }
    }
    return false;
  }
  // A command: its handler, else OK and Cancel end the dialog.
  void Command(int id) {
    if (Dispatch(id, Notification::Clicked) || destroying_)
      return;
    if (id == kCommandOk)
      OnOK();
    else if (id == kCommandCancel)
      OnCancel();
  }
  // Once set, nothing more reaches the handlers: the dialog is half gone.
  void StopHandlers() {
    destroying_ = true;
    bindings_.clear();
  }
  bool destroying_ = false;

private:
  std::vector<Binding> bindings_;
};

} // namespace reelcraft
