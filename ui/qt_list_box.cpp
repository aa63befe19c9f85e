// SPDX-License-Identifier: MIT
#include "ui/list_box.h"

#include <QFontMetrics>
#include <QListWidget>

namespace reelcraft {

namespace {

QString FromLocal(const std::string &text) {
  return QString::fromLocal8Bit(text.data(), qsizetype(text.size()));
}

} // namespace

void ListBox::ResetContent() { list_.clear(); }

int ListBox::AddString(const std::string &text) {
  list_.addItem(FromLocal(text));
  return list_.count() - 1;
}

void ListBox::DeleteString(int index) { delete list_.takeItem(index); }

int ListBox::GetCount() const { return list_.count(); }

std::string ListBox::GetText(int index) const {
  const QListWidgetItem *item = list_.item(index);
  return item ? item->text().toLocal8Bit().toStdString() : std::string();
}

int ListBox::GetSelCount() const { return int(list_.selectedItems().size()); }

int ListBox::FirstSelected() const {
  for (int i = 0; i < list_.count(); ++i)
    if (list_.item(i)->isSelected())
      return i;
  return -1;
}

void ListBox::SetSel(int index, bool select) {
  if (index == -1) {
    for (int i = 0; i < list_.count(); ++i)
      list_.item(i)->setSelected(select);
  } else if (QListWidgetItem *item = list_.item(index)) {
    item->setSelected(select);
  }
}

int ListBox::GetCurSel() const { return FirstSelected(); }

void ListBox::SetCurSel(int index) {
  list_.setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
  if (QListWidgetItem *item = list_.item(index))
    list_.scrollToItem(item);
}

int ListBox::FindStringPrefix(const std::string &prefix) const {
  QString wanted = FromLocal(prefix);
  for (int i = 0; i < list_.count(); ++i)
    if (list_.item(i)->text().startsWith(wanted, Qt::CaseInsensitive))
      return i;
  return -1;
}

int ListBox::TextWidth(const std::string &text) const {
  return QFontMetrics(list_.font()).horizontalAdvance(FromLocal(text));
}

int ListBox::AverageCharWidth() const { return QFontMetrics(list_.font()).averageCharWidth(); }

// Every row is given the extent as its width, so the view scrolls exactly that far.
void ListBox::SetHorizontalExtent(int pixels) {
  if (list_.count() == 0)
    return;
  int rowHeight = list_.sizeHintForRow(0);
  for (int i = 0; i < list_.count(); ++i)
    list_.item(i)->setSizeHint(QSize(pixels, rowHeight));
}

} // namespace reelcraft
