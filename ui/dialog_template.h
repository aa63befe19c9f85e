// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <span>

namespace reelcraft {

// A dialog described as data: the window's size, font and style, and its controls in template
// order, which is also the keyboard's tab order. Positions and sizes are in dialog units, so the
// layout follows the dialog font. The builder of a user-interface layer turns one into widgets.

// Id of a control that the program never addresses (labels, frames).
constexpr int kNoControlId = -1;

enum class ControlKind {
  PushButton,
  DefaultPushButton,
  AutoCheckBox,
  GroupBox,
  StaticText,
  Edit,
  ListBox,
  ProgressBar,
};

// Style bits of a control, beyond what its kind implies.
enum ControlStyle : uint32_t {
  kStyleNone = 0,
  kStyleDisabled = 1u << 0,
  kStyleTabStop = 1u << 1,
  kStyleBorder = 1u << 2,
  kStyleHScroll = 1u << 3, // edit: scrolls horizontally; list: horizontal scroll bar
  kStyleVScroll = 1u << 4,
  kStyleExtendedSel = 1u << 5, // list: several items may be selected
  kStyleNotify = 1u << 6,
  kStyleNoIntegralHeight = 1u << 7,
  kStyleCentered = 1u << 8,
};

enum DialogStyle : uint32_t {
  kDialogModalFrame = 1u << 0,
  kDialogCaption = 1u << 1,
  kDialogSystemMenu = 1u << 2,
  kDialogAppWindow = 1u << 3, // its own task-bar entry
};

// What a screen reader says of a control besides its text: its name where the control has no
// text of its own (a field, a list, a bar, a button that reads "..."), and what it does.
struct ControlTemplate {
  int id;
  ControlKind kind;
  const char *text;
  int x, y, cx, cy;
  uint32_t style;
  const char *accessibleName = nullptr; // none: the control's text
  const char *accessibleDescription = nullptr;
};

struct DialogTemplate {
  int cx, cy;
  const char *fontName;
  int fontPoints;
  const char *caption;
  uint32_t style;
  std::span<const ControlTemplate> controls;
  // The translation context of the texts, or none to show them as they are.
  const char *translationContext = nullptr;
};

} // namespace reelcraft
