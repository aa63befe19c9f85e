// SPDX-License-Identifier: MIT
#include "gui/register/register_prompt_dialog.h"

#include "app/settings.h"
#include "gui/resources/dialog_templates.h"
#include "store/registry_key.h"
#include "sys/translation.h"

namespace reelcraft {

RegisterPromptDialog::RegisterPromptDialog(RegistryStore &store, bool onlyTheDefault)
    : TemplateDialog(RegisterPromptTemplate()), store_(store), onlyTheDefault_(onlyTheDefault) {}

void RegisterPromptDialog::DoDataExchange(DataExchange &exchange) {
  exchange.Check(IDC_NEVER_ASK, neverAsk_);
}

// Declining is the safe answer, so No has the focus.
bool RegisterPromptDialog::OnInitDialog() {
  FocusControl(IDCANCEL);
  SetCaption(kWindowCaption);
  if (onlyTheDefault_)
    SetControlText(
        IDC_REGISTER_QUESTION,
        Translate("RegisterPromptDialog", "Make Reelcraft the program that opens QVJ clips?"));
  return false;
}

// Once registered, the user is not asked again, whatever the installation then does.
void RegisterPromptDialog::OnOK() {
  neverAsk_ = true;
  UpdateData(false);
  TemplateDialog::OnOK();
}

void RegisterPromptDialog::OnDestroy() {
  UpdateData(true);
  if (!neverAsk_)
    return;
  RegistryKey settings(store_);
  settings.Open(RegistryRoot::CurrentUser, kSettingsKey, true, false);
  settings.SetDword(kNeverAskRegisterSetting, 1);
}

} // namespace reelcraft
