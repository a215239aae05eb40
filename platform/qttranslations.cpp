#include "platform/qttranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <memory>

QTranslator* installQtTranslations(const QLocale& locale) {
  auto translator = std::make_unique<QTranslator>(QCoreApplication::instance());
  // "qt_<language>" names the catalogues of all Qt modules; they load with it. Qt's own folder
  // first, then the one beside the program, where a Qt without its translations gets them.
  const auto loadFrom = [&](const QString& folder) {
    return translator->load(locale, QStringLiteral("qt"), QStringLiteral("_"), folder);
  };
  if (!loadFrom(QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
      !loadFrom(QCoreApplication::applicationDirPath() + QStringLiteral("/translations")))
    return nullptr;
  QCoreApplication::installTranslator(translator.get());
  return translator.release();
}
