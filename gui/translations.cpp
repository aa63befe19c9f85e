// SPDX-License-Identifier: MIT
#include "gui/translations.h"

#include "sys/translation.h"
#include "ui/qt_events.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace reelcraft {

namespace {

std::string TranslateWithQt(const char *context, const char *text) {
  return ToLocal(QCoreApplication::translate(context, text));
}

QString InstalledFolder() {
  return QCoreApplication::applicationDirPath() +
         QStringLiteral("/" REELCRAFT_DATA_FROM_PROGRAM "/reelcraft/translations");
}

} // namespace

Translations::Translations(const QLocale &locale) {
  if (qt_.load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
               QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(&qt_);
  for (const QString &folder : {InstalledFolder(), QStringLiteral(":/translations")}) {
    if (own_.load(locale, QStringLiteral("reelcraft"), QStringLiteral("_"), folder)) {
      QCoreApplication::installTranslator(&own_);
      found_ = true;
      break;
    }
  }
  SetTranslator(TranslateWithQt);
}

Translations::~Translations() {
  SetTranslator(nullptr);
  QCoreApplication::removeTranslator(&own_);
  QCoreApplication::removeTranslator(&qt_);
}

} // namespace reelcraft
