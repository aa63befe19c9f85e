// SPDX-License-Identifier: MIT
#pragma once

#include "ui/dialog_template.h"

#include <QFont>
#include <QPoint>
#include <QSize>
#include <QWidget>

#include <map>
#include <vector>

class QDialog;

namespace reelcraft {

// Dialog units of a font, measured as the Windows dialog manager does: the average width of the
// 52 Latin letters (rounded) and the character height.
struct DialogUnits {
  int baseX = 0;
  int baseY = 0;

  static DialogUnits Of(const QFont &font);
  int ToPixelsX(int du) const;
  int ToPixelsY(int du) const;
};

// The font a template names, with a metric-compatible stand-in where the named one is absent.
QFont TemplateFont(const DialogTemplate &dialogTemplate);

// Each control with an id carries it in this property.
constexpr const char *kControlIdProperty = "controlId";

// The widgets of a built dialog, by control id and in template order.
class DialogControls {
public:
  // Null for an id that the template does not have.
  QWidget *Control(int id) const;
  template <class T> T *As(int id) const { return qobject_cast<T *>(Control(id)); }
  // Every control, labels and frames included, in template order.
  const std::vector<QWidget *> &InOrder() const { return inOrder_; }
  void Add(int id, QWidget *control);

private:
  std::map<int, QWidget *> byId_;
  std::vector<QWidget *> inOrder_;
};

// Creates the template's controls as children of `dialog` at their converted positions, gives
// them their initial states and tab order, and fixes the dialog's size, font, caption and
// window style.
DialogControls BuildDialog(QDialog &dialog, const DialogTemplate &dialogTemplate);

} // namespace reelcraft
