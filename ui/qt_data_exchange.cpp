// SPDX-License-Identifier: MIT
#include "ui/qt_data_exchange.h"

#include "ui/qt_events.h"

#include <QCheckBox>
#include <QLineEdit>

namespace reelcraft {

void DataExchange::Text(int id, std::string &value) {
  auto *edit = controls_.As<QLineEdit>(id);
  if (saving_)
    value = ToLocal(edit->text());
  else
    edit->setText(FromLocal(value));
}

void DataExchange::Check(int id, int &value) {
  auto *box = controls_.As<QCheckBox>(id);
  if (saving_)
    value = box->isChecked() ? 1 : 0;
  else
    box->setChecked(value != 0);
}

void DataExchange::Check(int id, bool &value) {
  int ticked = value ? 1 : 0;
  Check(id, ticked);
  value = ticked != 0;
}

} // namespace reelcraft
