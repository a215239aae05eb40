#include "platform/qttranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <memory>

QTranslator* installQtTranslations(const QLocale& locale) {
  auto translator = std::make_unique<QTranslator>(QCoreApplication::instance());
  // "qt_<language>" names the catalogues of all Qt modules; they load with it.
  if (!translator->load(locale, QStringLiteral("qt"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    return nullptr;
  QCoreApplication::installTranslator(translator.get());
  return translator.release();
}
