#include "platform/qttranslations.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
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

}  // namespace
