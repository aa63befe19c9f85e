// SPDX-License-Identifier: MIT
#pragma once

#include <QLocale>
#include <QTranslator>

namespace reelcraft {

// While it lives, the windows and the messages speak the first language of `locale` that the
// program has a translation for, Qt's standard buttons included; English where none is found.
// The program's translations are read from its installation's data folder, or else from those
// built into it (a build, an unpacked folder, a registered copy).
class Translations {
public:
  explicit Translations(const QLocale &locale = QLocale());
  ~Translations();
  Translations(const Translations &) = delete;
  Translations &operator=(const Translations &) = delete;

  // The program's own translation was found for the locale.
  bool found() const { return found_; }

private:
  QTranslator qt_;
  QTranslator own_;
  bool found_ = false;
};

} // namespace reelcraft
