// SPDX-License-Identifier: MIT
#pragma once

#include "ui/dialog_bindings.h"
#include "ui/dialog_template.h"
#include "ui/qt_data_exchange.h"
#include "ui/qt_dialog_builder.h"

#include <QDialog>
#include <QIcon>

#include <functional>
#include <string>
#include <vector>

namespace reelcraft {

// A modal dialog built from a template, in the manner of a framework dialog class: handlers are
// bound to (control id, notification) pairs in one table, fields are exchanged with controls in
// one DoDataExchange, and the command ids 1 (OK) and 2 (Cancel) end the dialog unless the
// dialog overrides OnOK or OnCancel. Escape and the close box give the Cancel command.
class TemplateDialog : public QDialog, public DialogHandlers {
  Q_OBJECT

public:
  explicit TemplateDialog(const DialogTemplate &dialogTemplate, QWidget *parent = nullptr);
  ~TemplateDialog() override;

  // Initialises the dialog, runs it modally and returns the result given to EndDialog.
  int DoModal();
  void EndDialog(int result) override;

  QWidget *Control(int id) const { return controls_.Control(id); }
  template <class T> T *As(int id) const { return controls_.As<T>(id); }
  // The window itself, as the owner of the boxes and dialogs it opens.
  QWidget *Window() { return this; }
  void EnableControl(int id, bool enable);
  void SetCaption(const std::string &caption);
  void SetIcon(const QIcon &icon) { setWindowIcon(icon); }
  // The text of a label, a button or an edit field.
  void SetControlText(int id, const std::string &text);
  void FocusControl(int id);
  // The window has the keyboard: the user is looking at it.
  bool IsActive() const { return isActiveWindow(); }

  void UpdateData(bool saving) override;

protected:
  void reject() override;
  void keyPressEvent(QKeyEvent *event) override;
  bool event(QEvent *event) override;
  bool eventFilter(QObject *watched, QEvent *event) override;
  void setVisible(bool visible) override;

private:
  void ConnectNotifications(int id, QWidget *control);
  bool HasDefaultButton() const;

  DialogControls controls_;
  bool ended_ = false;
};

} // namespace reelcraft
