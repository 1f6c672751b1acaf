// The change question after a move or resize: its text, the answer, and what is committed or
// restored. The view is a stand-in that the confirmation calls by name, as it calls the views.
#include "calendar/appointmentstore.h"
#include "dialogs/ccommoncalendar.h"
#include "shared/ctools.h"

#include <dayplex/error.h>

#include <QtTest>
#include "support/testing.h"

using namespace Dayplex;
using namespace Dayplex::Testing;

Q_DECLARE_METATYPE(Dayplex::TerminEintrag)

namespace {

TerminEintrag moved(const QString &memo, Date fromStart, Date fromEnd, Date toStart, Date toEnd)
{
    TerminEintrag entry;
    entry.memo = memo;
    entry.dateStartOrig = fromStart;
    entry.dateEndOrig = fromEnd;
    entry.dateStart = toStart;
    entry.dateEnd = toEnd;
    return entry;
}

} // namespace

// What the confirmation sees of a view: a ConfirmChanges property and a Repaint method.
class View : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool ConfirmChanges MEMBER confirmChanges)

public:
    Q_INVOKABLE void Repaint()
    {
        ++repaints;
        if (entry)
            paintedStarts.append(entry->dateStart);
    }

    bool confirmChanges = true;
    int repaints = 0;
    const TerminEintrag *entry = nullptr;
    QList<Date> paintedStarts;
};

// A view whose ConfirmChanges answers with an empty value.
class SilentView : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QVariant ConfirmChanges READ confirm)

public:
    QVariant confirm() const { return QVariant(); }
    Q_INVOKABLE void Repaint() { ++repaints; }
    int repaints = 0;
};

class tst_Confirmation : public QObject
{
    Q_OBJECT

private slots:
    // The four lines of the question, in the general date format (the time only when it is not
    // midnight): a wrong separator, line break or format would change what the user reads.
    void questionText_data()
    {
        QTest::addColumn<TerminEintrag>("entry");
        QTest::addColumn<QString>("expected");
        const Date monday = day(2024, 3, 4);
        QTest::newRow("timed move to another day")
            << moved("Teambesprechung", monday + hm(9, 0), monday + hm(10, 30), monday + 3 + hm(14, 0),
                     monday + 3 + hm(15, 30))
            << QStringLiteral("Soll der Eintrag 'Teambesprechung'\r\n"
                              " von 04.03.2024 09:00:00 - 04.03.2024 10:30:00\r\n"
                              " auf 07.03.2024 14:00:00 - 07.03.2024 15:30:00\r\n"
                              "verändert werden");
        QTest::newRow("all-day entry: midnight dates show no time")
            << moved("Messe", monday, monday, monday + 2, monday + 2)
            << QStringLiteral("Soll der Eintrag 'Messe'\r\n von 04.03.2024 - 04.03.2024\r\n"
                              " auf 06.03.2024 - 06.03.2024\r\nverändert werden");
        QTest::newRow("end resized to midnight")
            << moved("Spätdienst", monday + hm(20, 0), monday + hm(23, 30), monday + hm(20, 0), monday + 1)
            << QStringLiteral("Soll der Eintrag 'Spätdienst'\r\n"
                              " von 04.03.2024 20:00:00 - 04.03.2024 23:30:00\r\n"
                              " auf 04.03.2024 20:00:00 - 05.03.2024\r\nverändert werden");
        QTest::newRow("empty text")
            << moved("", monday + hm(8, 0), monday + hm(9, 0), monday + hm(8, 30), monday + hm(9, 0))
            << QStringLiteral("Soll der Eintrag ''\r\n von 04.03.2024 08:00:00 - 04.03.2024 09:00:00\r\n"
                              " auf 04.03.2024 08:30:00 - 04.03.2024 09:00:00\r\nverändert werden");
    }
    void questionText()
    {
        QFETCH(TerminEintrag, entry);
        QFETCH(QString, expected);
        PromptAnswers answer(true);
        View view;
        cCommonCalendar common;
        QVERIFY(common.ConfirmDateChange(entry, &view));
        QCOMPARE(answer.texts(), QStringList{expected});
        QCOMPARE(answer.prompts.value(0).defaultYes, true);
    }

    // Yes commits the new times, no puts the old ones back exactly and shows them again; with
    // ConfirmChanges off nothing is asked and the change is committed.
    void answerDecides_data()
    {
        QTest::addColumn<bool>("confirmChanges");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<bool>("committed");
        QTest::addColumn<int>("questions");
        QTest::addColumn<int>("repaints");
        QTest::newRow("asked, yes") << true << true << true << 1 << 1;
        QTest::newRow("asked, no") << true << false << false << 1 << 2;
        QTest::newRow("not asked") << false << false << true << 0 << 1;
    }
    void answerDecides()
    {
        QFETCH(bool, confirmChanges);
        QFETCH(bool, yes);
        QFETCH(bool, committed);
        QFETCH(int, questions);
        QFETCH(int, repaints);
        const Date monday = day(2024, 3, 4);
        // Values that are not exact in binary, so that a restore by arithmetic would show.
        const Date oldStart = monday + hm(9, 10), oldEnd = monday + hm(10, 50);
        const Date newStart = monday + 1 + hm(11, 10), newEnd = monday + 1 + hm(12, 50);
        TerminEintrag entry = moved("Termin", oldStart, oldEnd, newStart, newEnd);
        PromptAnswers answer(yes);
        View view;
        view.confirmChanges = confirmChanges;
        view.entry = &entry;
        cCommonCalendar common;
        QCOMPARE(common.ConfirmDateChange(entry, &view), committed);
        QCOMPARE(answer.texts().size(), questions);
        QCOMPARE(view.repaints, repaints);
        // The first repaint shows the new place while the question is open.
        QCOMPARE(view.paintedStarts.first(), newStart);
        const Date start = committed ? newStart : oldStart, end = committed ? newEnd : oldEnd;
        QCOMPARE(entry.dateStart, start);
        QCOMPARE(entry.dateEnd, end);
        QCOMPARE(entry.dateStartOrig, start);
        QCOMPARE(entry.dateEndOrig, end);
        if (!committed)
            QCOMPARE(view.paintedStarts.last(), oldStart);
    }

    // A gesture that ends where it began is no change: no question, no repaint, false. Noise
    // below a millisecond from raster arithmetic is no change either.
    void unchangedTimesAskNothing_data()
    {
        QTest::addColumn<Date>("startNoise");
        QTest::addColumn<Date>("endNoise");
        QTest::addColumn<bool>("changed");
        QTest::newRow("identical") << 0.0 << 0.0 << false;
        QTest::newRow("end off by floating noise") << 0.0 << 1e-12 << false;
        QTest::newRow("start off by half a millisecond") << 0.5 / 86400000.0 << 0.0 << false;
        QTest::newRow("end one minute later") << 0.0 << kOneMinute << true;
    }
    void unchangedTimesAskNothing()
    {
        QFETCH(Date, startNoise);
        QFETCH(Date, endNoise);
        QFETCH(bool, changed);
        const Date start = day(2024, 3, 4) + hm(10, 0), end = day(2024, 3, 4) + hm(11, 0);
        TerminEintrag entry = moved("Termin", start, end, start + startNoise, end + endNoise);
        PromptAnswers answer(true);
        View view;
        cCommonCalendar common;
        QCOMPARE(common.ConfirmDateChange(entry, &view), changed);
        QCOMPARE(answer.texts().size(), changed ? 1 : 0);
        QCOMPARE(view.repaints, changed ? 1 : 0);
    }

    // A view that answers ConfirmChanges with nothing wants no question.
    void emptyConfirmChangesCountsAsOff()
    {
        const Date monday = day(2024, 3, 4);
        TerminEintrag entry = moved("Termin", monday, monday, monday + 1, monday + 1);
        PromptAnswers answer(false);
        SilentView view;
        cCommonCalendar common;
        QVERIFY(common.ConfirmDateChange(entry, &view));
        QVERIFY(answer.texts().isEmpty());
        QCOMPARE(entry.dateStartOrig, monday + 1);
    }

    // The resource view's records have other field names; the same question runs on their fields.
    void anyRecordCanBeConfirmed()
    {
        struct Bar
        {
            QString notiz = QStringLiteral("Wartung");
            double von = 0, bis = 0, vonOriginal = 0, bisOriginal = 0;
        } bar;
        const Date monday = day(2024, 3, 4);
        bar.vonOriginal = monday + hm(8, 0);
        bar.bisOriginal = monday + hm(9, 0);
        bar.von = monday + hm(12, 0);
        bar.bis = monday + hm(13, 0);
        PromptAnswers answer(false);
        View view;
        cCommonCalendar common;
        QVERIFY(!common.ConfirmDateChange(bar.notiz, bar.von, bar.bis, bar.vonOriginal, bar.bisOriginal, &view));
        QVERIFY(answer.texts().value(0).startsWith(QStringLiteral("Soll der Eintrag 'Wartung'\r\n")));
        QCOMPARE(bar.von, monday + hm(8, 0));
        QCOMPARE(bar.bis, monday + hm(9, 0));
    }

    // A view that cannot repaint is an error of the call, not a silent commit.
    void viewWithoutRepaintFails()
    {
        const Date monday = day(2024, 3, 4);
        TerminEintrag entry = moved("Termin", monday, monday, monday + 1, monday + 1);
        PromptAnswers answer(true);
        QObject notAView;
        cCommonCalendar common;
        int number = 0;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("No such method QObject::Repaint"));
        try {
            common.ConfirmDateChange(entry, &notAView);
        } catch (const Error &error) {
            number = error.number();
        }
        QCOMPARE(number, 438);
        QVERIFY(answer.texts().isEmpty());
        QCOMPARE(entry.dateStartOrig, monday);
        QCOMPARE(entry.dateStart, monday + 1);
    }
};

QTEST_APPLESS_MAIN(tst_Confirmation)
#include "tst_confirmation.moc"
