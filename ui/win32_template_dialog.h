// SPDX-License-Identifier: MIT
#pragma once

#include "ui/dialog_bindings.h"
#include "ui/dialog_template.h"
#include "ui/win32_data_exchange.h"
#include "ui/win32_dialog_builder.h"

#include <functional>
#include <string>
#include <vector>
#include <windows.h>

namespace reelcraft {

// A modal dialog built from a template by the dialog manager, in the manner of a framework
// dialog class: handlers are bound to (control id, notification) pairs in one table, fields are
// exchanged with controls in one DoDataExchange, and the command ids 1 (OK) and 2 (Cancel) end
// the dialog unless the dialog overrides OnOK or OnCancel. Escape and the close box give the
// Cancel command. The same class as the Qt kit's, over the system's own dialogs.
class TemplateDialog : public DialogHandlers {
public:
  explicit TemplateDialog(const DialogTemplate &dialogTemplate, HWND parent = nullptr);
  ~TemplateDialog() override;
  TemplateDialog(const TemplateDialog &) = delete;
  TemplateDialog &operator=(const TemplateDialog &) = delete;

  // Initialises the dialog, runs it modally and returns the result given to EndDialog.
  int DoModal();
  void EndDialog(int result) override;

  HWND Control(int id) const { return GetDlgItem(window_, id); }
  HWND Window() const { return window_; }
  void EnableControl(int id, bool enable);
  void SetCaption(const std::string &caption);
  void SetIcon(HICON icon);
  void SetControlText(int id, const std::string &text);
  void FocusControl(int id);
  bool IsActive() const { return window_ && GetActiveWindow() == window_; }
  bool IsVisible() const { return window_ && IsWindowVisible(window_); }

  void UpdateData(bool saving) override;

  // Private messages (0x8000 and above) arrive as PostedMessage notifications of their number.
  void Post(int message) const { PostMessageW(window_, UINT(message), 0, 0); }

private:
  static INT_PTR CALLBACK DialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  bool Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void OnControlNotification(int id, int code);

  Win32DialogTemplate template_;
  HWND parent_;
  HWND window_ = nullptr;
};

// Queues the private `message` for `dialog`; it arrives as a PostedMessage notification.
inline void PostMessageTo(const TemplateDialog &dialog, int message) { dialog.Post(message); }

} // namespace reelcraft
