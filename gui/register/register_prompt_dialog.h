// SPDX-License-Identifier: MIT
#pragma once

#include "store/registry_store.h"
#include "ui/window_kit.h"

namespace reelcraft {

// Offers to register the program on the system, or with `onlyTheDefault` to make it the program
// that opens clips. DoModal gives 1 (OK) for Yes, 2 for No, Escape
// and the close box. The "Do not ask me again." choice is stored by the dialog itself when its
// run ends, whatever ended it; Yes always ticks it.
class RegisterPromptDialog : public TemplateDialog {
public:
  RegisterPromptDialog(RegistryStore &store, bool onlyTheDefault = false);

  bool neverAsk() const { return neverAsk_; }

protected:
  void DoDataExchange(DataExchange &exchange) override;
  bool OnInitDialog() override;
  void OnOK() override;
  void OnDestroy() override;

private:
  RegistryStore &store_;
  bool onlyTheDefault_;
  bool neverAsk_ = false;
};

} // namespace reelcraft
