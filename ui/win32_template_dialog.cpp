// SPDX-License-Identifier: MIT
#include "ui/win32_template_dialog.h"

#include "sys/win32_text.h"
#include "ui/win32_busy_cursor.h"

namespace reelcraft {

namespace {

// The dialog's own messages, above the private numbers that the windows post.
constexpr UINT kShownMessage = 0xBF00;
constexpr UINT kFocusLeftMessage = 0xBF01;
constexpr UINT kFirstPrivateMessage = 0x8000;

} // namespace

TemplateDialog::TemplateDialog(const DialogTemplate &dialogTemplate, HWND parent)
    : template_(dialogTemplate), parent_(parent) {}

TemplateDialog::~TemplateDialog() = default;

int TemplateDialog::DoModal() {
  destroying_ = false;
  INT_PTR result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), template_.get(), parent_,
                                           DialogProcedure, reinterpret_cast<LPARAM>(this));
  window_ = nullptr;
  return int(result);
}

INT_PTR CALLBACK TemplateDialog::DialogProcedure(HWND window, UINT message, WPARAM wParam,
                                                 LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto *dialog = reinterpret_cast<TemplateDialog *>(lParam);
    SetWindowLongPtrW(window, DWLP_USER, lParam);
    dialog->window_ = window;
    dialog->UpdateData(false);
    // True lets the dialog manager put the focus on the first tab stop.
    return dialog->OnInitDialog() ? TRUE : FALSE;
  }
  auto *dialog = reinterpret_cast<TemplateDialog *>(GetWindowLongPtrW(window, DWLP_USER));
  return dialog && dialog->Handle(message, wParam, lParam) ? TRUE : FALSE;
}

bool TemplateDialog::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_COMMAND:
    // Enter, Escape and the close box come without a control, as commands 1 and 2.
    if (lParam == 0)
      Command(LOWORD(wParam));
    else
      OnControlNotification(LOWORD(wParam), HIWORD(wParam));
    return true;
  case WM_CLOSE:
    Command(kCommandCancel);
    return true;
  case WM_SETCURSOR:
    if (!BusyCursor::Shown())
      return false;
    SetCursor(BusyCursor::WaitCursor());
    SetWindowLongPtrW(window_, DWLP_MSGRESULT, TRUE);
    return true;
  case WM_SHOWWINDOW:
    // Shown: told once the window is on the screen and active, as the Qt kit tells it.
    if (lParam == 0 && !destroying_) {
      if (wParam)
        PostMessageW(window_, kShownMessage, 0, 0);
      else
        OnShowWindow(false);
    }
    return false;
  case kShownMessage:
    if (!destroying_ && IsWindowVisible(window_))
      OnShowWindow(true);
    return true;
  case kFocusLeftMessage: {
    // Only a move to another control of this window is a loss of focus; a box or another
    // program taking the activation is none.
    HWND now = GetFocus();
    if (now && now != Control(int(wParam)) && IsChild(window_, now))
      Dispatch(int(wParam), Notification::KillFocus);
    return true;
  }
  case WM_DESTROY:
    OnDestroy();
    destroying_ = true;
    return false;
  default:
    if (message >= kFirstPrivateMessage && message < kShownMessage)
      return Dispatch(int(message), Notification::PostedMessage);
    return false;
  }
}

void TemplateDialog::OnControlNotification(int id, int code) {
  switch (code) {
  case BN_CLICKED: // also STN_CLICKED, which a label without SS_NOTIFY never sends
    Command(id);
    break;
  case LBN_DBLCLK:
    Dispatch(id, Notification::DoubleClicked);
    break;
  case LBN_SELCHANGE:
    Dispatch(id, Notification::SelectionChanged);
    break;
  case EN_CHANGE:
    Dispatch(id, Notification::TextChanged);
    break;
  case EN_KILLFOCUS:
  case LBN_KILLFOCUS:
  case BN_KILLFOCUS:
    // Where the focus went is known once the move is over.
    PostMessageW(window_, kFocusLeftMessage, WPARAM(id), 0);
    break;
  default:
    break;
  }
}

void TemplateDialog::EndDialog(int result) {
  if (window_)
    ::EndDialog(window_, result);
}

void TemplateDialog::EnableControl(int id, bool enable) {
  if (HWND control = Control(id))
    EnableWindow(control, enable);
}

void TemplateDialog::SetCaption(const std::string &caption) {
  SetWindowTextW(window_, WideText(caption).c_str());
}

void TemplateDialog::SetIcon(HICON icon) {
  SendMessageW(window_, WM_SETICON, ICON_BIG, LPARAM(icon));
  SendMessageW(window_, WM_SETICON, ICON_SMALL, LPARAM(icon));
}

void TemplateDialog::SetControlText(int id, const std::string &text) {
  SetDlgItemTextW(window_, id, WideText(text).c_str());
}

void TemplateDialog::FocusControl(int id) {
  if (HWND control = Control(id))
    SendMessageW(window_, WM_NEXTDLGCTL, WPARAM(control), TRUE);
}

void TemplateDialog::UpdateData(bool saving) {
  DataExchange exchange(window_, saving);
  DoDataExchange(exchange);
}

} // namespace reelcraft
