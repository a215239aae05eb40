#include "platform/qttranslations.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

// Qt's dialogs ask for their texts in their own contexts; a German session gets them German.
TEST(QtTranslations, TheSystemsLanguageReachesQtsDialogs) {
  struct Row {
    const char* locale;
    bool found;
    const char* cancel;  // QMessageBox, QFileDialog and QColorDialog's button
    const char* lookIn;  // QFileDialog
  } rows[] = {{"de_DE", true, "Abbrechen", "Suchen in:"},
              {"de_AT", true, "Abbrechen", "Suchen in:"},
              {"fr_FR", true, "Annuler", "Voir dans :"},
              {"C", false, "Cancel", "Look in:"}};
  for (const Row& row : rows) {
    QTranslator* translator = installQtTranslations(QLocale(row.locale));
    EXPECT_EQ(translator != nullptr, row.found) << row.locale;
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), row.cancel) << row.locale;
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), row.lookIn) << row.locale;
    if (translator) {
      QCoreApplication::removeTranslator(translator);
      delete translator;
    }
  }
}

// Every language whose catalogue lies where the program looks loads: qt_<language>.qm only
// names the files of the modules it stands for, and without one of them Qt takes none.
TEST(QtTranslations, EveryLanguageAtHandLoadsWhole) {
  QStringList languages;
  for (const QString& folder : {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                                QCoreApplication::applicationDirPath() + "/translations"})
    for (const QString& file : QDir(folder).entryList({"qt_*.qm"}, QDir::Files))
      if (!file.startsWith("qt_help_")) languages.append(file.mid(3, file.size() - 6));
  EXPECT_TRUE(languages.contains("de")) << languages.join(' ').toStdString();
  for (const QString& language : languages) {
    QTranslator* translator = installQtTranslations(QLocale(language));
    EXPECT_NE(translator, nullptr) << language.toStdString();
    QCoreApplication::removeTranslator(translator);
    delete translator;
  }
}

// The program asks for the session's language (LANG, LC_ALL; under Wine the same variables
// set Windows' user language). Run in a German session by the test scripts.
TEST(QtTranslations, AGermanSessionGetsGermanDialogs) {
  if (QLocale::system().language() != QLocale::German)
    GTEST_SKIP() << "not a German session: " << QLocale::system().name().toStdString();
  QTranslator* translator = installQtTranslations(QLocale::system());
  EXPECT_NE(translator, nullptr);
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), "&Ja");
  EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), "Suchen in:");
  QCoreApplication::removeTranslator(translator);
  delete translator;
}

}  // namespace
