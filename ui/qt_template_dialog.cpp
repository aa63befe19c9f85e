// SPDX-License-Identifier: MIT
#include "ui/qt_template_dialog.h"

#include "ui/qt_events.h"

#include <QAbstractButton>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QWindow>

#include <algorithm>

namespace reelcraft {

namespace {

bool MovesWithinTheWindow(const QFocusEvent &event) {
  return event.reason() != Qt::ActiveWindowFocusReason && event.reason() != Qt::PopupFocusReason;
}
} // namespace

TemplateDialog::TemplateDialog(const DialogTemplate &dialogTemplate, QWidget *parent)
    : QDialog(parent), controls_(BuildDialog(*this, dialogTemplate)) {
  for (const ControlTemplate &control : dialogTemplate.controls)
    if (control.id != kNoControlId)
      ConnectNotifications(control.id, controls_.Control(control.id));
}

// The controls outlive this destructor (QWidget deletes them later); their focus and signal
// traffic must not reach handlers of a dialog that is half gone.
TemplateDialog::~TemplateDialog() { StopHandlers(); }

void TemplateDialog::ConnectNotifications(int id, QWidget *control) {
  if (auto *button = qobject_cast<QAbstractButton *>(control)) {
    connect(button, &QAbstractButton::clicked, this, [this, id] { Command(id); });
  } else if (auto *list = qobject_cast<QListWidget *>(control)) {
    connect(list, &QListWidget::itemDoubleClicked, this,
            [this, id] { Dispatch(id, Notification::DoubleClicked); });
    connect(list, &QListWidget::itemSelectionChanged, this,
            [this, id] { Dispatch(id, Notification::SelectionChanged); });
  } else if (auto *edit = qobject_cast<QLineEdit *>(control)) {
    connect(edit, &QLineEdit::textChanged, this,
            [this, id] { Dispatch(id, Notification::TextChanged); });
  }
  control->installEventFilter(this);
}

int TemplateDialog::DoModal() {
  ended_ = false;
  UpdateData(false);
  if (OnInitDialog()) {
    for (QWidget *control : controls_.InOrder()) {
      if (control->focusPolicy() == Qt::StrongFocus && control->isEnabled()) {
        control->setFocus(Qt::TabFocusReason);
        break;
      }
    }
  }
  int result = ended_ ? QDialog::result() : exec();
  OnDestroy();
  return result;
}

void TemplateDialog::EndDialog(int result) {
  ended_ = true;
  done(result);
}

void TemplateDialog::EnableControl(int id, bool enable) {
  if (QWidget *control = Control(id))
    control->setEnabled(enable);
}

void TemplateDialog::SetCaption(const std::string &caption) { setWindowTitle(FromLocal(caption)); }

void TemplateDialog::SetControlText(int id, const std::string &text) {
  QWidget *control = Control(id);
  if (auto *label = qobject_cast<QLabel *>(control))
    label->setText(FromLocal(text));
  else if (auto *button = qobject_cast<QAbstractButton *>(control))
    button->setText(FromLocal(text));
  else if (auto *edit = qobject_cast<QLineEdit *>(control))
    edit->setText(FromLocal(text));
}

void TemplateDialog::FocusControl(int id) {
  if (QWidget *control = Control(id))
    control->setFocus(Qt::OtherFocusReason);
}

void TemplateDialog::UpdateData(bool saving) {
  DataExchange exchange(controls_, saving);
  DoDataExchange(exchange);
}

void TemplateDialog::reject() { Command(kCommandCancel); }

bool TemplateDialog::HasDefaultButton() const {
  const auto buttons = findChildren<QPushButton *>();
  return std::any_of(buttons.begin(), buttons.end(),
                     [](QPushButton *b) { return b->isDefault() && b->isVisible(); });
}

// Enter presses the push button that has the focus, else the default button, else gives the OK
// command, as the Windows dialog manager does.
void TemplateDialog::keyPressEvent(QKeyEvent *event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    auto *focused = qobject_cast<QPushButton *>(focusWidget());
    if (focused && focused->isEnabled())
      focused->click();
    else if (!HasDefaultButton())
      Command(kCommandOk);
    else
      QDialog::keyPressEvent(event);
    return;
  }
  QDialog::keyPressEvent(event);
}

bool TemplateDialog::event(QEvent *event) {
  if (event->type() == PostedMessageEvent::EventType()) {
    Dispatch(static_cast<PostedMessageEvent *>(event)->message(), Notification::PostedMessage);
    return true;
  }
  return QDialog::event(event);
}

// Only a move to another control of this window is a loss of focus. The window losing its
// activation to a message box, a copy's window or another program is none: the control gets the
// focus back with the activation. Nor is a context menu of an edit field.
bool TemplateDialog::eventFilter(QObject *watched, QEvent *event) {
  if (event->type() == QEvent::FocusOut &&
      MovesWithinTheWindow(*static_cast<QFocusEvent *>(event))) {
    QVariant id = watched->property(kControlIdProperty);
    if (id.isValid())
      Dispatch(id.toInt(), Notification::KillFocus);
  }
  return QDialog::eventFilter(watched, event);
}

// The platform would put the program's name into an empty title bar; until the dialog sets a
// caption of its own, the bar shows a blank one, as empty as the template's.
void TemplateDialog::setVisible(bool visible) {
  bool changing = visible != isVisible();
  if (visible && windowTitle().isEmpty()) {
    winId();
    windowHandle()->setTitle(QStringLiteral(" "));
  }
  QDialog::setVisible(visible);
  if (changing && !destroying_)
    OnShowWindow(visible);
}

} // namespace reelcraft
