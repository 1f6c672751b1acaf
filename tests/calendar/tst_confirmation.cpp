// The change question after a move or resize: its text, the answer, and what is committed or
// restored. The view is a stand-in that the confirmation calls by name, as it calls the views.
#include "calendar/appointmentstore.h"
#include "dialogs/ccommoncalendar.h"
#include "shared/ctools.h"

#include <dayplex/error.h>

#include <QtTest>
#include "support/testing.h"
#include "support/testmain.h"

using namespace Dayplex;
using namespace Dayplex::Testing;


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
    Q_INVOKABLE void Repaint() { paintedStarts.append(entry ? entry->dateStart : 0); }

    bool confirmChanges = true;
    const TerminEintrag *entry = nullptr;
    QList<Date> paintedStarts;
};

class tst_Confirmation : public QObject
{
    Q_OBJECT

private slots:
    // The question's four lines in the general date format (the time only when it is not
    // midnight), then the answer: yes commits the new times, no puts the old ones back exactly
    // and shows them again; with ConfirmChanges off nothing is asked and the change is committed.
    void answerDecides_data()
    {
        QTest::addColumn<TerminEintrag>("entry");
        QTest::addColumn<bool>("confirmChanges");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("question"); // empty where nothing is asked
        QTest::addColumn<bool>("committed");
        const Date monday = day(2024, 3, 4);
        QTest::newRow("all-day entry: midnight dates show no time, yes")
            << moved("Messe", monday, monday, monday + 2, monday + 2) << true << true
            << QStringLiteral("Soll der Eintrag 'Messe'\r\n von 04.03.2024 - 04.03.2024\r\n"
                              " auf 06.03.2024 - 06.03.2024\r\nverändert werden")
            << true;
        // Times that are not exact in binary, so that a restore by arithmetic would show.
        QTest::newRow("end resized to midnight, empty text, no")
            << moved("", monday + hm(20, 10), monday + hm(23, 50), monday + hm(20, 10), monday + 1)
            << true << false
            << QStringLiteral("Soll der Eintrag ''\r\n"
                              " von 04.03.2024 20:10:00 - 04.03.2024 23:50:00\r\n"
                              " auf 04.03.2024 20:10:00 - 05.03.2024\r\nverändert werden")
            << false;
        QTest::newRow("not asked")
            << moved("Termin", monday + hm(9, 10), monday + hm(10, 50), monday + 1 + hm(11, 10),
                     monday + 1 + hm(12, 50))
            << false << false << QString() << true;
    }
    void answerDecides()
    {
        QFETCH(TerminEintrag, entry);
        QFETCH(bool, confirmChanges);
        QFETCH(bool, yes);
        QFETCH(QString, question);
        QFETCH(bool, committed);
        const TerminEintrag before = entry;
        PromptAnswers answer(yes);
        View view;
        view.confirmChanges = confirmChanges;
        view.entry = &entry;
        cCommonCalendar common;
        QCOMPARE(common.ConfirmDateChange(entry, &view), committed);
        QCOMPARE(answer.texts(), question.isEmpty() ? QStringList() : QStringList{question});
        QVERIFY(answer.prompts.isEmpty() || answer.prompts.first().defaultYes);
        // The first repaint shows the new place while the question is open, a second the old.
        const QList<Date> painted{before.dateStart, before.dateStartOrig};
        QCOMPARE(view.paintedStarts, painted.mid(0, committed ? 1 : 2));
        const Date start = committed ? before.dateStart : before.dateStartOrig;
        const Date end = committed ? before.dateEnd : before.dateEndOrig;
        QCOMPARE(entry.dateStart, start);
        QCOMPARE(entry.dateEnd, end);
        QCOMPARE(entry.dateStartOrig, start);
        QCOMPARE(entry.dateEndOrig, end);
    }
};

DAYPLEX_TEST_MAIN(tst_Confirmation)
#include "tst_confirmation.moc"
