// SPDX-License-Identifier: MIT
#include "ui/win32_dialog_builder.h"

#include "sys/translation.h"
#include "sys/win32_text.h"

#include <commctrl.h>

namespace reelcraft {

namespace {

// The texts of a dialog in the user's language, where the template names its context.
std::wstring TextOf(const DialogTemplate &dialogTemplate, const char *text) {
  if (!text || !*text)
    return {};
  const char *context = dialogTemplate.translationContext;
  return WideText(context ? Translate(context, text) : std::string(text));
}

const wchar_t *ClassOf(ControlKind kind) {
  switch (kind) {
  case ControlKind::PushButton:
  case ControlKind::DefaultPushButton:
  case ControlKind::AutoCheckBox:
  case ControlKind::GroupBox:
    return L"BUTTON";
  case ControlKind::StaticText:
    return L"STATIC";
  case ControlKind::Edit:
    return L"EDIT";
  case ControlKind::ListBox:
    return L"LISTBOX";
  case ControlKind::ProgressBar:
    break;
  }
  return PROGRESS_CLASSW;
}

uint32_t KindStyle(const ControlTemplate &control) {
  uint32_t style = control.style;
  switch (control.kind) {
  case ControlKind::PushButton:
    return BS_PUSHBUTTON;
  case ControlKind::DefaultPushButton:
    return BS_DEFPUSHBUTTON;
  case ControlKind::AutoCheckBox:
    return BS_AUTOCHECKBOX;
  case ControlKind::GroupBox:
    return BS_GROUPBOX;
  case ControlKind::StaticText:
    return (style & kStyleCentered) ? SS_CENTER : SS_LEFT;
  case ControlKind::Edit:
    return ES_LEFT | ((style & kStyleHScroll) ? ES_AUTOHSCROLL : 0);
  case ControlKind::ListBox:
    return ((style & kStyleExtendedSel) ? LBS_EXTENDEDSEL : 0) |
           ((style & kStyleNotify) ? LBS_NOTIFY : 0) |
           ((style & kStyleNoIntegralHeight) ? LBS_NOINTEGRALHEIGHT : 0) |
           ((style & kStyleHScroll) ? WS_HSCROLL : 0) | ((style & kStyleVScroll) ? WS_VSCROLL : 0);
  case ControlKind::ProgressBar:
    break;
  }
  return 0;
}

uint32_t DialogStyleOf(const DialogTemplate &dialogTemplate) {
  uint32_t style = WS_POPUP | DS_SETFONT;
  if (dialogTemplate.style & kDialogModalFrame)
    style |= DS_MODALFRAME;
  if (dialogTemplate.style & kDialogCaption)
    style |= WS_CAPTION;
  if (dialogTemplate.style & kDialogSystemMenu)
    style |= WS_SYSMENU;
  return style;
}

// The window styles of a control, as a resource compiler writes them.
uint32_t ControlStyleOf(const ControlTemplate &control) {
  uint32_t style = WS_CHILD | WS_VISIBLE | KindStyle(control);
  if (control.style & kStyleDisabled)
    style |= WS_DISABLED;
  if (control.style & kStyleTabStop)
    style |= WS_TABSTOP;
  if (control.style & kStyleBorder)
    style |= WS_BORDER;
  return style;
}

} // namespace

Win32DialogTemplate::Win32DialogTemplate(const DialogTemplate &dialogTemplate) {
  // The progress bar's window class is the common controls'.
  INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&classes);

  AddWord(1);      // dlgVer
  AddWord(0xFFFF); // signature: the extended form
  AddDword(0);     // helpID
  AddDword((dialogTemplate.style & kDialogAppWindow) ? WS_EX_APPWINDOW : 0);
  AddDword(DialogStyleOf(dialogTemplate));
  AddWord(uint16_t(dialogTemplate.controls.size()));
  for (int value : {0, 0, dialogTemplate.cx, dialogTemplate.cy})
    AddWord(uint16_t(value));
  AddWord(0); // no menu
  AddWord(0); // the dialog class
  AddText(WideText(dialogTemplate.caption ? dialogTemplate.caption : ""));
  AddWord(uint16_t(dialogTemplate.fontPoints));
  AddWord(FW_NORMAL);
  AddWord(DEFAULT_CHARSET << 8); // italic 0, then the character set
  AddText(WideText(dialogTemplate.fontName));

  for (const ControlTemplate &control : dialogTemplate.controls) {
    AlignToDword();
    AddDword(0); // helpID
    AddDword(0); // exStyle
    AddDword(ControlStyleOf(control));
    for (int value : {control.x, control.y, control.cx, control.cy})
      AddWord(uint16_t(value));
    AddDword(control.id == kNoControlId ? 0xFFFF : uint32_t(control.id));
    AddText(ClassOf(control.kind));
    AddText(TextOf(dialogTemplate, control.text));
    AddWord(0); // no creation data
  }
}

void Win32DialogTemplate::AddDword(uint32_t dword) {
  AddWord(uint16_t(dword & 0xFFFF));
  AddWord(uint16_t(dword >> 16));
}

void Win32DialogTemplate::AddText(const std::wstring &text) {
  words_.insert(words_.end(), text.begin(), text.end());
  AddWord(0);
}

void Win32DialogTemplate::AlignToDword() {
  if (words_.size() % 2)
    AddWord(0);
}

} // namespace reelcraft
