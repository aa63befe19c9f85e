// SPDX-License-Identifier: MIT
// Windows: a template's dialog as the dialog manager creates it, and the progress sink over its
// bar.
#include "ui/win32_dialog_builder.h"
#include "ui/win32_progress_sink.h"

#include "sys/translation.h"
#include "sys/win32_text.h"

#include <gtest/gtest.h>

#include <climits>
#include <commctrl.h>
#include <cstring>
#include <windows.h>

namespace reelcraft {
namespace {

constexpr int kEdit = 101, kBrowse = 102, kList = 103, kCheck = 104, kStop = 105, kBar = 106;

constexpr ControlTemplate kControls[] = {
    {kEdit, ControlKind::Edit, "", 10, 10, 100, 14, kStyleTabStop | kStyleBorder | kStyleHScroll},
    {kBrowse, ControlKind::PushButton, "...", 115, 10, 15, 14, kStyleTabStop},
    {kNoControlId, ControlKind::StaticText, "Delete", 140, 10, 30, 8, kStyleCentered},
    {kList, ControlKind::ListBox, "", 10, 30, 100, 40,
     kStyleTabStop | kStyleExtendedSel | kStyleNotify | kStyleVScroll | kStyleNoIntegralHeight},
    {kCheck, ControlKind::AutoCheckBox, "Ask", 115, 30, 40, 10, kStyleTabStop},
    {kStop, ControlKind::PushButton, "Cancel", 115, 45, 40, 14, kStyleTabStop | kStyleDisabled},
    {kNoControlId, ControlKind::GroupBox, "Frame", 5, 5, 180, 70, kStyleNone},
    {IDOK, ControlKind::DefaultPushButton, "E&xit", 115, 60, 40, 14, kStyleTabStop},
    {kBar, ControlKind::ProgressBar, "", 10, 80, 170, 10, kStyleBorder},
};
constexpr DialogTemplate kTemplate = {
    190,       95,      "MS Sans Serif", 8, "Caption \xC3\xA9", kDialogCaption | kDialogSystemMenu,
    kControls, "Sample"};

std::string FrenchOfSample(const char *context, const char *text) {
  return std::strcmp(context, "Sample") == 0 && std::strcmp(text, "E&xit") == 0 ? "&Quitter" : text;
}

std::string TextOf(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return Utf8Text(text);
}

class DialogFromTemplate : public ::testing::Test {
protected:
  void SetUp() override {
    SetTranslator(FrenchOfSample);
    Win32DialogTemplate memory(kTemplate);
    SetTranslator(nullptr);
    dialog_ = CreateDialogIndirectParamW(
        GetModuleHandleW(nullptr), memory.get(), nullptr,
        [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return 0; }, 0);
    ASSERT_NE(dialog_, nullptr) << GetLastError();
  }
  void TearDown() override { DestroyWindow(dialog_); }

  HWND dialog_ = nullptr;
};

TEST_F(DialogFromTemplate, HasEachControlWithItsClassTextStateAndTabOrder) {
  EXPECT_FALSE(IsWindowVisible(dialog_));
  EXPECT_EQ(TextOf(dialog_), "Caption \xC3\xA9");
  EXPECT_TRUE(GetWindowLongW(dialog_, GWL_STYLE) & WS_SYSMENU);
  const struct {
    const wchar_t *className;
    const char *text;
    int id;
    bool enabled;
    LONG style; // bits it must have
  } expected[] = {
      {L"Edit", "", kEdit, true, ES_AUTOHSCROLL},
      {L"Button", "...", kBrowse, true, BS_PUSHBUTTON},
      {L"Static", "Delete", 0xFFFF, true, SS_CENTER},
      {L"ListBox", "", kList, true, LBS_EXTENDEDSEL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT},
      {L"Button", "Ask", kCheck, true, BS_AUTOCHECKBOX},
      {L"Button", "Cancel", kStop, false, 0},
      {L"Button", "Frame", 0xFFFF, true, BS_GROUPBOX},
      {L"Button", "&Quitter", IDOK, true, BS_DEFPUSHBUTTON},
      {PROGRESS_CLASSW, "", kBar, true, 0},
  };
  HWND control = GetWindow(dialog_, GW_CHILD);
  for (const auto &e : expected) {
    ASSERT_NE(control, nullptr) << e.text;
    wchar_t className[64] = {};
    GetClassNameW(control, className, 64);
    EXPECT_EQ(_wcsicmp(className, e.className), 0) << Utf8Text(className);
    EXPECT_EQ(TextOf(control), e.text);
    EXPECT_EQ(GetDlgCtrlID(control), e.id) << e.text;
    EXPECT_EQ(bool(IsWindowEnabled(control)), e.enabled) << e.text;
    EXPECT_EQ(GetWindowLongW(control, GWL_STYLE) & e.style, e.style) << e.id;
    control = GetWindow(control, GW_HWNDNEXT);
  }
  EXPECT_EQ(control, nullptr);

  std::vector<int> tabOrder;
  for (HWND at = GetDlgItem(dialog_, kEdit); tabOrder.size() < 6;
       at = GetNextDlgTabItem(dialog_, at, FALSE))
    tabOrder.push_back(GetDlgCtrlID(at));
  EXPECT_EQ(tabOrder, (std::vector<int>{kEdit, kBrowse, kList, kCheck, IDOK, kEdit}));
}

TEST_F(DialogFromTemplate, ProgressSinkScalesWideRangesAndHoldsPastTheEndAsFull) {
  HWND bar = GetDlgItem(dialog_, kBar);
  Win32ProgressSink sink(bar);
  auto high = [&] { return int(SendMessageW(bar, PBM_GETRANGE, FALSE, 0)); };
  auto position = [&] { return int(SendMessageW(bar, PBM_GETPOS, 0, 0)); };
  sink.SetRange(0, UINT32_MAX);
  EXPECT_EQ(high(), INT_MAX);
  sink.SetPosition(0x80000000u);
  EXPECT_EQ(position(), 0x40000000);

  sink.SetRange(0, 150000);
  sink.SetPosition(204800);
  EXPECT_EQ(position(), 150000);

  sink.SetRange(0, 1300);
  sink.SetStep(512);
  sink.SetPosition(512);
  std::vector<int> seen;
  for (int i = 0; i < 3; ++i) {
    sink.StepIt();
    seen.push_back(position());
  }
  EXPECT_EQ(seen, (std::vector<int>{1024, 1300, 1300})) << "no start over past the end";

  sink.SetRange(1000, 3000);
  sink.SetPosition(2000);
  EXPECT_EQ(position(), 1000);
  EXPECT_EQ(high(), 2000);
}

} // namespace
} // namespace reelcraft
