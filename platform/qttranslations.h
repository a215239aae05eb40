#pragma once

#include <QStringList>

class QLocale;
class QTranslator;

// Installs Qt's own translations for `locale` into the application (on Debian from
// qt6-translations-l10n), so that Qt's colour, font, file and message dialogs speak the
// user's language. Returns the installed translator, owned by the application, or nullptr
// when Qt has none for `locale`.
QTranslator* installQtTranslations(const QLocale& locale);

// Installs the program's own translations for `locale` (scorvex_<language>.qm beside the
// program or in its installed data folder). The texts are German in the code, so a German
// session loads none. Returns the installed translator, owned by the application, or nullptr.
QTranslator* installProgramTranslations(const QLocale& locale);

// The folders the program's translations are looked for in, the one beside the program first.
QStringList programTranslationFolders();
