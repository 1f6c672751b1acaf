#ifndef DAYPLEX_UITEXT_H
#define DAYPLEX_UITEXT_H

#include <QLocale>
#include <QString>

namespace Dayplex {

// The library's own interface texts (menus, dialogs, questions, messages) are German in the
// code and English in the catalogue translations/dayplex_en.ts, which the library carries as a
// resource. The language is chosen once, on the first text, from the application's UI language.
enum class UiLanguage { German, English };

// The text in the library's language. A translator the application installed that has the text
// in the same context wins over the library's own catalogue, whenever it was installed.
// lupdate reads the calls as QCoreApplication::translate.
QString uiText(const char *context, const char *sourceText);

// German for a German UI language and for the C locale, which names no language; English for
// any other, judged by the first of the locale's UI languages.
UiLanguage uiLanguageFor(const QLocale &locale);

// Chooses the language from a locale now, instead of once on the first text; for a host's
// test that switches languages. Texts already shown stay as they are.
void chooseUiLanguage(const QLocale &locale);
UiLanguage uiLanguage();

} // namespace Dayplex

#endif
