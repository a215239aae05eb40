#pragma once

class QLocale;
class QTranslator;

// Installs Qt's own translations for `locale` into the application (on Debian from
// qt6-translations-l10n), so that Qt's colour, font, file and message dialogs speak the
// user's language; the program's own texts are German whatever the language. Returns the
// installed translator, owned by the application, or nullptr when Qt has none for `locale`.
QTranslator* installQtTranslations(const QLocale& locale);
