// SPDX-License-Identifier: MIT
#include "ui/qt_dialog_builder.h"

#include <QCheckBox>
#include <QDialog>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>

#include <algorithm>
#include <cmath>

namespace reelcraft {

namespace {

// Windows' MulDiv: the product over the divisor, rounded half away from zero.
int MulDiv(int number, int numerator, int denominator) {
  return int(std::lround(double(number) * numerator / denominator));
}

QString Text(const ControlTemplate &control) { return QString::fromLocal8Bit(control.text); }

// Which button Enter presses is the dialog's decision (as the Windows dialog manager's), so no
// button makes itself the default when it takes the focus.
QWidget *MakeButton(const ControlTemplate &control) {
  auto *button = new QPushButton(Text(control));
  button->setAutoDefault(false);
  button->setDefault(control.kind == ControlKind::DefaultPushButton);
  return button;
}

QWidget *MakeLabel(const ControlTemplate &control) {
  auto *label = new QLabel(Text(control));
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(true);
  label->setAlignment(Qt::AlignTop |
                      ((control.style & kStyleCentered) ? Qt::AlignHCenter : Qt::AlignLeft));
  return label;
}

QWidget *MakeEdit(const ControlTemplate &control) {
  auto *edit = new QLineEdit(Text(control));
  edit->setFrame(control.style & kStyleBorder);
  return edit;
}

QWidget *MakeList(const ControlTemplate &control) {
  auto *list = new QListWidget;
  list->setSelectionMode((control.style & kStyleExtendedSel) ? QAbstractItemView::ExtendedSelection
                                                             : QAbstractItemView::SingleSelection);
  list->setVerticalScrollBarPolicy((control.style & kStyleVScroll) ? Qt::ScrollBarAsNeeded
                                                                   : Qt::ScrollBarAlwaysOff);
  list->setHorizontalScrollBarPolicy((control.style & kStyleHScroll) ? Qt::ScrollBarAsNeeded
                                                                     : Qt::ScrollBarAlwaysOff);
  if (!(control.style & kStyleBorder))
    list->setFrameShape(QFrame::NoFrame);
  return list;
}

QWidget *MakeProgressBar() {
  auto *bar = new QProgressBar;
  bar->setRange(0, 100); // the common control's own default range
  bar->setValue(0);
  bar->setTextVisible(false);
  return bar;
}

QWidget *MakeControl(const ControlTemplate &control) {
  switch (control.kind) {
  case ControlKind::PushButton:
  case ControlKind::DefaultPushButton:
    return MakeButton(control);
  case ControlKind::AutoCheckBox:
    return new QCheckBox(Text(control));
  case ControlKind::GroupBox:
    return new QGroupBox(Text(control));
  case ControlKind::StaticText:
    return MakeLabel(control);
  case ControlKind::Edit:
    return MakeEdit(control);
  case ControlKind::ListBox:
    return MakeList(control);
  case ControlKind::ProgressBar:
    return MakeProgressBar();
  }
  return nullptr;
}

// The template's widths were measured in the named font; a stand-in font may set a text a
// little wider. A label or check box then grows to the right (both ways when centred) as far as
// the dialog's edge allows, rather than clip its text.
void WidenToFitText(QWidget &widget, const ControlTemplate &control, int dialogWidth) {
  bool isLabel = control.kind == ControlKind::StaticText;
  if (!*control.text || !(isLabel || control.kind == ControlKind::AutoCheckBox))
    return;
  int needed = isLabel ? widget.fontMetrics().horizontalAdvance(Text(control)) + 1
                       : widget.sizeHint().width();
  QRect box = widget.geometry();
  if (needed <= box.width())
    return;
  if (control.style & kStyleCentered) {
    int room = std::min(box.left(), dialogWidth - 1 - box.right());
    int grow = std::min((needed - box.width() + 1) / 2, room);
    box.adjust(-grow, 0, grow, 0);
  } else {
    box.setWidth(std::min(needed, dialogWidth - box.left()));
  }
  widget.setGeometry(box);
}

bool TakesFocus(ControlKind kind) {
  return kind != ControlKind::StaticText && kind != ControlKind::GroupBox &&
         kind != ControlKind::ProgressBar;
}

// A control that is no tab stop is still focused by a click, as on Windows.
Qt::FocusPolicy FocusPolicyOf(const ControlTemplate &control) {
  if (!TakesFocus(control.kind))
    return Qt::NoFocus;
  return (control.style & kStyleTabStop) ? Qt::StrongFocus : Qt::ClickFocus;
}

Qt::WindowFlags WindowFlagsOf(const DialogTemplate &dialogTemplate) {
  Qt::WindowFlags flags = (dialogTemplate.style & kDialogAppWindow) ? Qt::Window : Qt::Dialog;
  flags |= Qt::CustomizeWindowHint; // no minimise, maximise or help box
  if (dialogTemplate.style & kDialogCaption)
    flags |= Qt::WindowTitleHint;
  if (dialogTemplate.style & kDialogSystemMenu)
    flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  return flags;
}

} // namespace

DialogUnits DialogUnits::Of(const QFont &font) {
  QFontMetrics metrics(font);
  int width = metrics.horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  return {(width / 26 + 1) / 2, metrics.height()};
}

int DialogUnits::ToPixelsX(int du) const { return MulDiv(du, baseX, 4); }
int DialogUnits::ToPixelsY(int du) const { return MulDiv(du, baseY, 8); }

QFont TemplateFont(const DialogTemplate &dialogTemplate) {
  QString family = QString::fromLocal8Bit(dialogTemplate.fontName);
  if (QFont::substitutes(family).isEmpty())
    QFont::insertSubstitutions(family,
                               {QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Tahoma"),
                                QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                                QStringLiteral("Arimo"), QStringLiteral("Nimbus Sans")});
  QFont font(family);
  font.setStyleHint(QFont::SansSerif);
  font.setPointSize(dialogTemplate.fontPoints);
  return font;
}

QWidget *DialogControls::Control(int id) const {
  auto found = byId_.find(id);
  return found == byId_.end() ? nullptr : found->second;
}

void DialogControls::Add(int id, QWidget *control) {
  if (id != kNoControlId) {
    byId_.emplace(id, control);
    control->setProperty(kControlIdProperty, id);
  }
  inOrder_.push_back(control);
}

DialogControls BuildDialog(QDialog &dialog, const DialogTemplate &dialogTemplate) {
  dialog.setWindowFlags(WindowFlagsOf(dialogTemplate));
  dialog.setWindowTitle(QString::fromLocal8Bit(dialogTemplate.caption));
  dialog.setFont(TemplateFont(dialogTemplate));
  DialogUnits units = DialogUnits::Of(dialog.font());
  dialog.setFixedSize(units.ToPixelsX(dialogTemplate.cx), units.ToPixelsY(dialogTemplate.cy));

  DialogControls controls;
  QWidget *previousTabStop = nullptr;
  for (const ControlTemplate &control : dialogTemplate.controls) {
    QWidget *widget = MakeControl(control);
    widget->setParent(&dialog);
    widget->setGeometry(units.ToPixelsX(control.x), units.ToPixelsY(control.y),
                        units.ToPixelsX(control.cx), units.ToPixelsY(control.cy));
    WidenToFitText(*widget, control, dialog.width());
    widget->setEnabled(!(control.style & kStyleDisabled));
    widget->setFocusPolicy(FocusPolicyOf(control));
    if (widget->focusPolicy() == Qt::StrongFocus) {
      if (previousTabStop)
        QWidget::setTabOrder(previousTabStop, widget);
      previousTabStop = widget;
    }
    controls.Add(control.id, widget);
  }
  return controls;
}

} // namespace reelcraft
