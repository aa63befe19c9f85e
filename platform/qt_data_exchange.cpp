#include "platform/qt_data_exchange.h"

#include <QCheckBox>
#include <QLineEdit>

namespace reelcraft {

void DataExchange::Text(int id, std::string &value) {
  auto *edit = controls_.As<QLineEdit>(id);
  if (saving_)
    value = edit->text().toLocal8Bit().toStdString();
  else
    edit->setText(QString::fromLocal8Bit(value.data(), qsizetype(value.size())));
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
