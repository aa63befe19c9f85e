// SPDX-License-Identifier: MIT
#pragma once

#include "ui/window_types.h"

#include <string>

namespace reelcraft {

// The list-box operations of a Windows list control, on the system's list control (a
// QListWidget that does not sort, with Qt). Entries are byte strings in the local 8-bit encoding.
class ListBox {
public:
  explicit ListBox(ListControl &list) : list_(list) {}

  void ResetContent();
  // Appends at the end; gives the new entry's index.
  int AddString(const std::string &text);
  void DeleteString(int index);
  int GetCount() const;
  std::string GetText(int index) const;

  int GetSelCount() const;
  // The lowest selected index, or -1.
  int FirstSelected() const;
  // Selects or deselects one entry, or every entry with index -1.
  void SetSel(int index, bool select);
  // Single selection: the selected index or -1, and selecting one entry (scrolled into view).
  int GetCurSel() const;
  void SetCurSel(int index);
  // The first entry that begins with `prefix`, letter case ignored; -1 when there is none.
  int FindStringPrefix(const std::string &prefix) const;

  // Width in pixels of a text in the list's font, and that font's average character width.
  int TextWidth(const std::string &text) const;
  int AverageCharWidth() const;
  // How far the list scrolls sideways: its content is this wide, in pixels.
  void SetHorizontalExtent(int pixels);

private:
  ListControl &list_;
};

} // namespace reelcraft
