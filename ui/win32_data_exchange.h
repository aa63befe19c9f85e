// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <windows.h>

namespace reelcraft {

// One direction of the exchange between a dialog's controls and its fields: saving copies the
// controls into the fields, loading copies the fields into the controls. The Qt kit's class
// over the dialog manager's controls.
class DataExchange {
public:
  DataExchange(HWND dialog, bool saving) : dialog_(dialog), saving_(saving) {}
  bool saving() const { return saving_; }

  // Edit text (UTF-8).
  void Text(int id, std::string &value);
  // Check box: ticked is 1, unticked 0.
  void Check(int id, int &value);
  void Check(int id, bool &value);
  // Binds a member pointer to the control itself, in either direction.
  template <class T> void Control(int id, T *&control) { control = GetDlgItem(dialog_, id); }

private:
  HWND dialog_;
  bool saving_;
};

} // namespace reelcraft
