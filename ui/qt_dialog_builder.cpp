// SPDX-License-Identifier: MIT
#include "ui/qt_dialog_builder.h"

#include <QCheckBox>
#include <QCoreApplication>
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

// The texts of a dialog in the user's language, where the template names its context.
class TemplateTexts {
public:
  explicit TemplateTexts(const DialogTemplate &dialogTemplate)
      : context_(dialogTemplate.translationContext) {}

  QString operator()(const char *text) const {
    if (!text || !*text)
      return QString();
    return context_ ? QCoreApplication::translate(context_, text) : QString::fromLocal8Bit(text);
  }

private:
  const char *context_;
};

// Which button Enter presses is the dialog's decision (as the Windows dialog manager's), so no
// button makes itself the default when it takes the focus.
QWidget *MakeButton(const ControlTemplate &control, const QString &text) {
  auto *button = new QPushButton(text);
  button->setAutoDefault(false);
  button->setDefault(control.kind == ControlKind::DefaultPushButton);
  return button;
}

QWidget *MakeLabel(const ControlTemplate &control, const QString &text) {
  auto *label = new QLabel(text);
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(true);
  label->setAlignment(Qt::AlignTop |
                      ((control.style & kStyleCentered) ? Qt::AlignHCenter : Qt::AlignLeft));
  return label;
}

QWidget *MakeEdit(const ControlTemplate &control, const QString &text) {
  auto *edit = new QLineEdit(text);
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

QWidget *MakeControl(const ControlTemplate &control, const QString &text) {
  switch (control.kind) {
  case ControlKind::PushButton:
  case ControlKind::DefaultPushButton:
    return MakeButton(control, text);
  case ControlKind::AutoCheckBox:
    return new QCheckBox(text);
  case ControlKind::GroupBox:
    return new QGroupBox(text);
  case ControlKind::StaticText:
    return MakeLabel(control, text);
  case ControlKind::Edit:
    return MakeEdit(control, text);
  case ControlKind::ListBox:
    return MakeList(control);
  case ControlKind::ProgressBar:
    return MakeProgressBar();
  }
  return nullptr;
}

// Where a control may grow to: the inner edge of the group box around it, or the dialog's.
int RoomTo(const DialogTemplate &dialogTemplate, const ControlTemplate &control,
           const DialogUnits &units, int dialogWidth) {
  for (const ControlTemplate &box : dialogTemplate.controls) {
    if (box.kind == ControlKind::GroupBox && &box != &control && box.x <= control.x &&
        box.y <= control.y && control.x + control.cx <= box.x + box.cx &&
        control.y + control.cy <= box.y + box.cy)
      return units.ToPixelsX(box.x + box.cx - 3);
  }
  return dialogWidth;
}

// A label of more than one line's height that holds its text in lines as it is.
bool FitsWrapped(const QWidget &label, const QString &text) {
  QRect lines =
      label.fontMetrics().boundingRect(QRect(0, 0, label.width(), 1 << 16), Qt::TextWordWrap, text);
  return label.height() >= 2 * label.fontMetrics().height() && lines.height() <= label.height();
}

// The template's widths were measured in the named font; a stand-in font may set a text a
// little wider. A label or check box then grows to the right (both ways when centred) as far as
// the dialog's edge allows, or inside a group box its frame, rather than clip its text.
void WidenToFitText(QWidget &widget, const ControlTemplate &control, const QString &text,
                    int rightEdge) {
  bool isLabel = control.kind == ControlKind::StaticText;
  if (text.isEmpty() || !(isLabel || control.kind == ControlKind::AutoCheckBox))
    return;
  int needed =
      isLabel ? widget.fontMetrics().horizontalAdvance(text) + 1 : widget.sizeHint().width();
  QRect box = widget.geometry();
  if (needed <= box.width() || (isLabel && FitsWrapped(widget, text)))
    return;
  if (control.style & kStyleCentered) {
    int room = std::min(box.left(), rightEdge - 1 - box.right());
    int grow = std::min((needed - box.width() + 1) / 2, room);
    box.adjust(-grow, 0, grow, 0);
  } else {
    box.setWidth(std::min(needed, rightEdge - box.left()));
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

  TemplateTexts texts(dialogTemplate);
  DialogControls controls;
  QWidget *previousTabStop = nullptr;
  for (const ControlTemplate &control : dialogTemplate.controls) {
    QString text = texts(control.text);
    QWidget *widget = MakeControl(control, text);
    if (control.accessibleName)
      widget->setAccessibleName(texts(control.accessibleName));
    if (control.accessibleDescription)
      widget->setAccessibleDescription(texts(control.accessibleDescription));
    widget->setParent(&dialog);
    widget->setGeometry(units.ToPixelsX(control.x), units.ToPixelsY(control.y),
                        units.ToPixelsX(control.cx), units.ToPixelsY(control.cy));
    WidenToFitText(*widget, control, text, RoomTo(dialogTemplate, control, units, dialog.width()));
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
