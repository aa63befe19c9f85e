// SPDX-License-Identifier: MIT
#include "ui/win32_data_exchange.h"

#include "sys/win32_text.h"

namespace reelcraft {

void DataExchange::Text(int id, std::string &value) {
  HWND edit = GetDlgItem(dialog_, id);
  if (!saving_) {
    SetWindowTextW(edit, WideText(value).c_str());
    return;
  }
  std::wstring text(size_t(GetWindowTextLengthW(edit)) + 1, L'\0');
  text.resize(size_t(GetWindowTextW(edit, text.data(), int(text.size()))));
  value = Utf8Text(text);
}

void DataExchange::Check(int id, int &value) {
  if (saving_)
    value = IsDlgButtonChecked(dialog_, id) == BST_CHECKED ? 1 : 0;
  else
    CheckDlgButton(dialog_, id, value != 0 ? BST_CHECKED : BST_UNCHECKED);
}

void DataExchange::Check(int id, bool &value) {
  int ticked = value ? 1 : 0;
  Check(id, ticked);
  value = ticked != 0;
}

} // namespace reelcraft
