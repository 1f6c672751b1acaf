// The library's own texts in the application's UI language: the German source texts for a
// German UI language and for the C locale, the English catalogue for any other. One dialog, one
// menu and one question show the language chosen.
#include "dialogs/ccommoncalendar.h"
#include "dialogs/cfrmconfigcalendar.h"
#include "shared/uitext.h"

#include <dayplex/ucagenda.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QMenu>
#include <QPushButton>
#include <QtTest>
#include "support/testing.h"
#include "support/testmain.h"

using namespace Dayplex;
using namespace Dayplex::Testing;

namespace {

// The options dialog's title and three of its captions, the calendar's context menu, and the
// question before a dragged appointment is changed, as the prompt handler receives it.
QStringList shownTexts()
{
    cfrmConfigCalendar dialog;
    QStringList texts{dialog.windowTitle(),
                      dialog.findChild<QCheckBox *>(QStringLiteral("chkConfirmChanges"))->text(),
                      dialog.findChild<QGroupBox *>(QStringLiteral("Frame4"))->title(),
                      dialog.findChild<QPushButton *>(QStringLiteral("cmdCancel"))->text()};
    ucAgenda agenda;
    for (const QAction *entry : agenda.findChild<QMenu *>(QStringLiteral("mnuPopUp"))->actions())
        if (!entry->isSeparator())
            texts.append(entry->text());
    PromptAnswers answers(false);
    agenda.setConfirmChanges(true);
    const Date monday = day(2024, 3, 4);
    double start = monday + hm(14, 0), end = monday + hm(15, 0);
    double startOrig = monday + hm(9, 0), endOrig = monday + hm(10, 0);
    cCommonCalendar().ConfirmDateChange(QStringLiteral("Teambesprechung 100%"), start, end,
                                        startOrig, endOrig, &agenda);
    return texts + answers.texts();
}

} // namespace

class tst_UiText : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        QLocale::setDefault(QLocale::c());
        chooseUiLanguage(QLocale());
    }

    // A wrong rule shows English to German users (or the reverse); a text missing from the
    // catalogue, or one that lost a line break or a placeholder, shows German or garbage.
    void textsFollowTheUiLanguage_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QStringList>("texts");
        const QStringList german{
            QStringLiteral("Kalenderoptionen"),
            QStringLiteral("Terminänderungen müssen bestätigt werden"),
            QStringLiteral("Terminüberschneidungen automatisch prüfen"),
            QStringLiteral("Abbrechen"), "Heute", "Datum...", ">> Gantt", "Freien Termin suchen",
            "Neu...", "Anzeigen", "Verschieben", "Teilnehmer...", "1 Tag", "2 Tage", "5 Tage",
            "7 Tage", "14 Tage", "Optionen...", "Drucken...",
            QStringLiteral("Soll der Eintrag 'Teambesprechung 100%'\r\n"
                           " von 04.03.2024 09:00:00 - 04.03.2024 10:00:00\r\n"
                           " auf 04.03.2024 14:00:00 - 04.03.2024 15:00:00\r\nverändert werden")};
        const QStringList english{
            "Calendar options", "Changes to appointments must be confirmed",
            "Check for overlapping appointments", "Cancel", "Today", "Date...", ">> Gantt",
            "Find free slot", "New...", "Show", "Move", "Participants...", "1 day", "2 days",
            "5 days", "7 days", "14 days", "Options...", "Print...",
            "Should the entry 'Teambesprechung 100%'\r\n"
            " from 04.03.2024 09:00:00 - 04.03.2024 10:00:00\r\n"
            " to 04.03.2024 14:00:00 - 04.03.2024 15:00:00\r\nbe changed?"};
        QTest::newRow("C locale, as on a test machine") << QLocale::c() << german;
        QTest::newRow("German, Austria") << QLocale(QLocale::German, QLocale::Austria) << german;
        QTest::newRow("English, United States")
            << QLocale(QLocale::English, QLocale::UnitedStates) << english;
        QTest::newRow("French: English, not the German source")
            << QLocale(QLocale::French, QLocale::France) << english;
    }
    void textsFollowTheUiLanguage()
    {
        QFETCH(QLocale, locale);
        QLocale::setDefault(locale);
        chooseUiLanguage(QLocale());
        QTEST(shownTexts(), "texts");
    }
};

DAYPLEX_TEST_MAIN(tst_UiText)
#include "tst_uitext.moc"
