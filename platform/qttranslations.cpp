#include "platform/qttranslations.h"

#include <QCoreApplication>
#include <QDir>
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

QStringList programTranslationFolders() {
  const QDir folder(QCoreApplication::applicationDirPath());
  return {folder.filePath(QStringLiteral("translations")),
          QDir::cleanPath(folder.filePath(QStringLiteral(SCORVEX_INSTALLED_TRANSLATIONS_FOLDER)))};
}

QTranslator* installProgramTranslations(const QLocale& locale) {
  if (locale.language() == QLocale::German) return nullptr;
  auto translator = std::make_unique<QTranslator>(QCoreApplication::instance());
  for (const QString& folder : programTranslationFolders()) {
    if (!translator->load(locale, QStringLiteral("scorvex"), QStringLiteral("_"), folder)) continue;
    QCoreApplication::installTranslator(translator.get());
    return translator.release();
  }
  return nullptr;
}
