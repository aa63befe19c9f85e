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
class TemplateDialog : public QDialog {
  Q_OBJECT

public:
  using Binding = DialogBinding;

  explicit TemplateDialog(const DialogTemplate &dialogTemplate, QWidget *parent = nullptr);
  ~TemplateDialog() override;

  // Initialises the dialog, runs it modally and returns the result given to EndDialog.
  int DoModal();
  // Ends the modal run with `result` (it returns once the current handler has returned).
  void EndDialog(int result);

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

  // Runs DoDataExchange: saving copies the controls into the fields, loading the reverse.
  void UpdateData(bool saving);

protected:
  // The dialog's table of handlers; call once, from the constructor.
  void Bind(std::vector<Binding> bindings);

  virtual void DoDataExchange(DataExchange &) {}
  // After the fields have been loaded into the controls. True puts the focus on the first tab
  // stop; false leaves it where the dialog put it.
  virtual bool OnInitDialog() { return true; }
  // Command 1: reads the controls and ends the dialog with 1.
  virtual void OnOK();
  // Command 2, Escape, the close box: ends the dialog with 2.
  virtual void OnCancel();
  // When the modal run has ended, whatever ended it; the controls still exist.
  virtual void OnDestroy() {}
  // The window has been shown (true) or hidden (false) by the program, not by the window
  // manager. When shown, it is already the modal window in front, so boxes opened here are
  // owned by it.
  virtual void OnShowWindow(bool) {}

  void reject() override;
  void keyPressEvent(QKeyEvent *event) override;
  bool event(QEvent *event) override;
  bool eventFilter(QObject *watched, QEvent *event) override;
  void setVisible(bool visible) override;

private:
  void ConnectNotifications(int id, QWidget *control);
  // True when a handler was bound to the pair.
  bool Dispatch(int id, Notification notification);
  void Command(int id);
  bool HasDefaultButton() const;

  DialogControls controls_;
  DialogBindings bindings_;
  bool ended_ = false;
  bool destroying_ = false;
};

} // namespace reelcraft
