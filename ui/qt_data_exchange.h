// SPDX-License-Identifier: MIT
#pragma once

#include "ui/qt_dialog_builder.h"

#include <string>

namespace reelcraft {

// One direction of the exchange between a dialog's controls and its fields: saving copies the
// controls into the fields, loading copies the fields into the controls. A dialog lists its
// pairs once, in its DoDataExchange, and both directions follow from that list.
class DataExchange {
public:
  DataExchange(const DialogControls &controls, bool saving)
      : controls_(controls), saving_(saving) {}
  bool saving() const { return saving_; }

  // Edit text (local 8-bit bytes).
  void Text(int id, std::string &value);
  // Check box: ticked is 1, unticked 0.
  void Check(int id, int &value);
  void Check(int id, bool &value);
  // Binds a member pointer to the control itself, in either direction.
  template <class T> void Control(int id, T *&control) { control = controls_.As<T>(id); }

private:
  const DialogControls &controls_;
  bool saving_;
};

} // namespace reelcraft
