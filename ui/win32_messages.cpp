// SPDX-License-Identifier: MIT
#include "ui/win32_messages.h"

#include "sys/win32_text.h"

#include <windows.h>

namespace reelcraft {

namespace {

UINT ButtonsOf(MessageButtons buttons) {
  switch (buttons) {
  case MessageButtons::Ok:
    break;
  case MessageButtons::YesNo:
    return MB_YESNO;
  case MessageButtons::YesNoDefaultNo:
    return MB_YESNO | MB_DEFBUTTON2;
  }
  return MB_OK;
}

} // namespace

std::string ProgramBaseName() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
    if (length == 0)
      return {};
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2); // cut short: a longer buffer
  }
  size_t name = path.find_last_of(L"\\/");
  path.erase(0, name == std::wstring::npos ? 0 : name + 1);
  size_t dot = path.rfind(L'.');
  if (dot != std::wstring::npos)
    path.resize(dot);
  return Utf8Text(path);
}

MessageAnswer Win32Messages::Show(const std::string &text, MessageButtons buttons,
                                  MessageIcon icon) {
  UINT style =
      ButtonsOf(buttons) | (icon == MessageIcon::Question ? MB_ICONQUESTION : MB_ICONEXCLAMATION);
  int answer = MessageBoxW(GetActiveWindow(), WideText(text).c_str(),
                           WideText(ProgramBaseName()).c_str(), style);
  if (buttons == MessageButtons::Ok)
    return MessageAnswer::Ok;
  return answer == IDYES ? MessageAnswer::Yes : MessageAnswer::No;
}

} // namespace reelcraft
