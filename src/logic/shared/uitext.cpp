#include "shared/uitext.h"

#include "shared/logging.h"

#include <QCoreApplication>
#include <QTranslator>

#include <memory>

// The resources of the static libraries are not registered by themselves. Q_INIT_RESOURCE must
// be used outside any namespace; registering twice is harmless.
static void registerCatalogue()
{
    Q_INIT_RESOURCE(dayplex_translations);
}

namespace Dayplex {

namespace {

const char kCatalogue[] = ":/dayplex/translations/dayplex_en.qm";

// Not installed with QCoreApplication::installTranslator: the translator installed last wins
// there, and an application's own translator must win even when it came first.
struct Catalogue
{
    UiLanguage language = UiLanguage::German;
    std::unique_ptr<QTranslator> english;
};

Catalogue &catalogue()
{
    static Catalogue current = [] {
        Catalogue first;
        first.language = uiLanguageFor(QLocale());
        return first;
    }();
    return current;
}

} // namespace

UiLanguage uiLanguageFor(const QLocale &locale)
{
    const QStringList languages = locale.uiLanguages();
    const QLocale first = languages.isEmpty() ? locale : QLocale(languages.first());
    const QLocale::Language language = first.language();
    return language == QLocale::German || language == QLocale::C ? UiLanguage::German
                                                                 : UiLanguage::English;
}

void chooseUiLanguage(const QLocale &locale)
{
    catalogue().language = uiLanguageFor(locale);
}

UiLanguage uiLanguage()
{
    return catalogue().language;
}

QString uiText(const char *context, const char *sourceText)
{
    const QString source = QString::fromUtf8(sourceText);
    const QString fromApplication = QCoreApplication::translate(context, sourceText);
    if (fromApplication != source)
        return fromApplication;
    Catalogue &current = catalogue();
    if (current.language == UiLanguage::German)
        return source;
    if (!current.english) {
        registerCatalogue();
        current.english = std::make_unique<QTranslator>();
        if (!current.english->load(QString::fromLatin1(kCatalogue)))
            qCWarning(lcTexts, "the English catalogue %s is missing; the texts stay German",
                      kCatalogue);
    }
    const QString english = current.english->translate(context, sourceText);
    return english.isEmpty() ? source : english;
}

} // namespace Dayplex
