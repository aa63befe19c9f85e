// SPDX-License-Identifier: MIT
#include "ui/list_box.h"

#include "sys/win32_text.h"

namespace reelcraft {

namespace {

LRESULT Send(ListControl &list, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  return SendMessageW(&list, message, wParam, lParam);
}

// The list's own font, for measuring its texts as it draws them.
class ListFontContext {
public:
  explicit ListFontContext(ListControl &list) : list_(&list), context_(GetDC(&list)) {
    HFONT font = HFONT(SendMessageW(&list, WM_GETFONT, 0, 0));
    if (context_ && font)
      previous_ = SelectObject(context_, font);
  }
  ~ListFontContext() {
    if (previous_)
      SelectObject(context_, previous_);
    if (context_)
      ReleaseDC(list_, context_);
  }
  ListFontContext(const ListFontContext &) = delete;
  ListFontContext &operator=(const ListFontContext &) = delete;
  HDC get() const { return context_; }

private:
  HWND list_;
  HDC context_;
  HGDIOBJ previous_ = nullptr;
};

} // namespace

void ListBox::ResetContent() { Send(list_, LB_RESETCONTENT); }

int ListBox::AddString(const std::string &text) {
  std::wstring wide = WideText(text);
  return int(Send(list_, LB_ADDSTRING, 0, LPARAM(wide.c_str())));
}

void ListBox::DeleteString(int index) { Send(list_, LB_DELETESTRING, WPARAM(index)); }

int ListBox::GetCount() const { return int(Send(list_, LB_GETCOUNT)); }

std::string ListBox::GetText(int index) const {
  LRESULT length = Send(list_, LB_GETTEXTLEN, WPARAM(index));
  if (length == LB_ERR)
    return std::string();
  std::wstring text(size_t(length) + 1, L'\0');
  length = Send(list_, LB_GETTEXT, WPARAM(index), LPARAM(text.data()));
  text.resize(length == LB_ERR ? 0 : size_t(length));
  return Utf8Text(text);
}

int ListBox::GetSelCount() const { return int(Send(list_, LB_GETSELCOUNT)); }

int ListBox::FirstSelected() const {
  int first = -1;
  return Send(list_, LB_GETSELITEMS, 1, LPARAM(&first)) == 1 ? first : -1;
}

void ListBox::SetSel(int index, bool select) {
  Send(list_, LB_SETSEL, WPARAM(select ? TRUE : FALSE), LPARAM(index));
}

int ListBox::GetCurSel() const { return FirstSelected(); }

// The lists take several entries at once: one selected entry, with the caret on it.
void ListBox::SetCurSel(int index) {
  SetSel(-1, false);
  if (index < 0)
    return;
  SetSel(index, true);
  Send(list_, LB_SETCARETINDEX, WPARAM(index), FALSE);
}

int ListBox::FindStringPrefix(const std::string &prefix) const {
  std::wstring wide = WideText(prefix);
  LRESULT found = Send(list_, LB_FINDSTRING, WPARAM(-1), LPARAM(wide.c_str()));
  return found == LB_ERR ? -1 : int(found);
}

int ListBox::TextWidth(const std::string &text) const {
  ListFontContext context(list_);
  std::wstring wide = WideText(text);
  SIZE size{};
  if (!context.get() ||
      !GetTextExtentPoint32W(context.get(), wide.c_str(), int(wide.size()), &size))
    return 0;
  return int(size.cx);
}

int ListBox::AverageCharWidth() const {
  ListFontContext context(list_);
  TEXTMETRICW metrics{};
  return context.get() && GetTextMetricsW(context.get(), &metrics) ? int(metrics.tmAveCharWidth)
                                                                   : 0;
}

void ListBox::SetHorizontalExtent(int pixels) {
  Send(list_, LB_SETHORIZONTALEXTENT, WPARAM(pixels));
}

} // namespace reelcraft
