// SPDX-License-Identifier: MIT
// Windows: a modal template dialog run by the dialog manager, driven from inside its own run:
// its data exchange, the notifications its table binds, the commands that end it, and a list.
#include "ui/list_box.h"
#include "ui/win32_template_dialog.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace reelcraft {
namespace {

constexpr int kFolder = 101, kRun = 102, kList = 103, kDelete = 104, kOther = 105;
constexpr int kPrivate = 0x800A;

constexpr ControlTemplate kControls[] = {
    {kFolder, ControlKind::Edit, "", 10, 10, 100, 14, kStyleTabStop | kStyleBorder},
    {kRun, ControlKind::PushButton, "Run", 115, 10, 40, 14, kStyleTabStop},
    {kList, ControlKind::ListBox, "", 10, 30, 100, 40,
     kStyleTabStop | kStyleExtendedSel | kStyleNotify | kStyleVScroll},
    {kDelete, ControlKind::AutoCheckBox, "Delete", 115, 30, 40, 10, kStyleTabStop},
    {kOther, ControlKind::PushButton, "Other", 115, 45, 40, 14, kStyleTabStop},
    {IDOK, ControlKind::DefaultPushButton, "OK", 115, 60, 40, 14, kStyleTabStop},
};
constexpr DialogTemplate kTemplate = {170, 80, "MS Sans Serif", 8, "", kDialogCaption, kControls};

// Runs `act` once the dialog is on the screen, with what its handlers saw in `heard`.
class DrivenDialog : public TemplateDialog {
public:
  explicit DrivenDialog(std::function<void(DrivenDialog &)> act)
      : TemplateDialog(kTemplate), act_(std::move(act)) {
    using N = Notification;
    Bind({
        {kRun, N::Clicked, [this] { heard.push_back("run"); }},
        {kList, N::DoubleClicked, [this] { heard.push_back("double click"); }},
        {kFolder, N::KillFocus, [this] { heard.push_back("folder left"); }},
        {kPrivate, N::PostedMessage, [this] { heard.push_back("posted"); }},
    });
  }

  std::string folder = "D:\\Clips \xC3\xA9t\xC3\xA9";
  int deleteSource = 1;
  std::vector<std::string> heard;
  int checkedAtDestroy = -1;

  void Command(int id) { SendMessageW(Window(), WM_COMMAND, WPARAM(id), 0); }
  void Notify(int id, int code) {
    SendMessageW(Window(), WM_COMMAND, MAKEWPARAM(id, code), LPARAM(Control(id)));
  }
  // Lets the posted messages of the dialog and the system arrive.
  static void Settle() {
    for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);)
      DispatchMessageW(&message);
  }

protected:
  void DoDataExchange(DataExchange &dx) override {
    dx.Text(kFolder, folder);
    dx.Check(kDelete, deleteSource);
  }
  void OnShowWindow(bool shown) override {
    if (shown)
      act_(*this);
  }
  void OnDestroy() override { checkedAtDestroy = IsDlgButtonChecked(Window(), kDelete); }

private:
  std::function<void(DrivenDialog &)> act_;
};

TEST(Win32TemplateDialog, ExchangesItsFieldsAndEndsByItsCommands) {
  struct Case {
    const char *what;
    std::function<void(DrivenDialog &)> act;
    int result;
    std::string folder;
    int deleteSource;
  };
  const Case cases[] = {
      {"OK saves the controls",
       [](DrivenDialog &d) {
         SetDlgItemTextW(d.Window(), kFolder, L"E:\\Neu \u00fc");
         CheckDlgButton(d.Window(), kDelete, BST_UNCHECKED);
         d.Command(IDOK);
       },
       IDOK, "E:\\Neu \xC3\xBC", 0},
      {"Escape cancels and saves nothing",
       [](DrivenDialog &d) {
         SetDlgItemTextW(d.Window(), kFolder, L"lost");
         d.Command(IDCANCEL);
       },
       IDCANCEL, "D:\\Clips \xC3\xA9t\xC3\xA9", 1},
      {"the close box cancels", [](DrivenDialog &d) { SendMessageW(d.Window(), WM_CLOSE, 0, 0); },
       IDCANCEL, "D:\\Clips \xC3\xA9t\xC3\xA9", 1},
  };
  for (const Case &c : cases) {
    DrivenDialog dialog(c.act);
    EXPECT_EQ(dialog.DoModal(), c.result) << c.what;
    EXPECT_EQ(dialog.folder, c.folder) << c.what;
    EXPECT_EQ(dialog.deleteSource, c.deleteSource) << c.what;
    EXPECT_EQ(dialog.checkedAtDestroy, c.deleteSource)
        << c.what << ": the controls outlive the run";
  }
}

// Only a move of the focus to another control of the window is a loss of it; a window of
// another program taking the keyboard is none.
TEST(Win32TemplateDialog, DispatchesWhatItsTableBinds) {
  DrivenDialog dialog([](DrivenDialog &d) {
    d.Notify(kRun, BN_CLICKED);
    d.Notify(kList, LBN_DBLCLK);
    d.Notify(kList, LBN_SELCHANGE); // bound to nothing
    PostMessageTo(d, kPrivate);
    SetFocus(d.Control(kFolder));
    SetFocus(d.Control(kOther));
    DrivenDialog::Settle();
    SetFocus(d.Control(kFolder));
    HWND elsewhere = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10,
                                     nullptr, nullptr, nullptr, nullptr);
    SetActiveWindow(elsewhere);
    SetFocus(elsewhere);
    DrivenDialog::Settle();
    DestroyWindow(elsewhere);
    d.EndDialog(IDOK);
  });
  dialog.DoModal();
  EXPECT_EQ(dialog.heard,
            (std::vector<std::string>{"run", "double click", "posted", "folder left"}));
}

TEST(Win32TemplateDialog, ItsListBoxKeepsTextsAndSelections) {
  DrivenDialog dialog([](DrivenDialog &d) {
    ListBox list(*d.Control(kList));
    for (const char *entry : {"b.qvj", "Caf\xC3\xA9.qvj", "c.qvj"})
      list.AddString(entry);
    EXPECT_EQ(list.GetCount(), 3);
    EXPECT_EQ(list.GetText(1), "Caf\xC3\xA9.qvj");
    EXPECT_EQ(list.FindStringPrefix("CAF"), 1);
    EXPECT_EQ(list.FindStringPrefix("x"), -1);
    list.SetSel(-1, true);
    EXPECT_EQ(list.GetSelCount(), 3);
    list.SetSel(0, false);
    EXPECT_EQ(list.FirstSelected(), 1);
    list.SetCurSel(2);
    EXPECT_EQ(list.GetSelCount(), 1);
    EXPECT_EQ(list.GetCurSel(), 2);
    list.DeleteString(0);
    EXPECT_EQ(list.GetText(0), "Caf\xC3\xA9.qvj");
    EXPECT_GT(list.TextWidth("wide entry"), list.TextWidth("w"));
    list.ResetContent();
    EXPECT_EQ(list.GetCount(), 0);
    d.EndDialog(IDOK);
  });
  dialog.DoModal();
}

} // namespace
} // namespace reelcraft
