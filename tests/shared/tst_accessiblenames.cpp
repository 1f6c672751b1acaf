#include "shared/accessiblenames.h"
#include "support/testing.h"

#include <QtTest>
#include "support/testmain.h"

using namespace Dayplex;
using namespace Dayplex::Testing;

Q_DECLARE_METATYPE(AppointmentFacts)

class tst_AccessibleNames : public QObject
{
    Q_OBJECT

private slots:
    // Catches a fact left out or said twice, the wrong day for an end at midnight or for the
    // last day of an all-day entry, an end before the start read as it is, line breaks read
    // out, and a dangling comma when the text is empty.
    void appointment_data()
    {
        QTest::addColumn<AppointmentFacts>("facts");
        QTest::addColumn<QString>("expected");
        const Date wed = day(2026, 12, 2);
        const auto timed = [wed](Date from, Date to, const char *text) {
            AppointmentFacts f;
            f.start = wed + from;
            f.end = wed + to;
            f.text = QString::fromUtf8(text);
            return f;
        };
        QTest::newRow("ends at midnight") << timed(hm(22, 0), 1, "Spätdienst")
                                          << "Mittwoch, 2. Dezember 2026, 22:00 bis 24:00, Spätdienst";
        QTest::newRow("ends a moment before midnight")
            << timed(hm(22, 0), 1 - 0.3 * kOneSecond, "Spätdienst")
            << "Mittwoch, 2. Dezember 2026, 22:00 bis 24:00, Spätdienst";
        QTest::newRow("runs into the next day")
            << timed(hm(22, 0), 1 + hm(6, 0), "Nachtdienst")
            << "Mittwoch, 2. Dezember 2026, 22:00 bis Donnerstag, 3. Dezember 2026, 06:00, Nachtdienst";
        QTest::newRow("end before start") << timed(hm(10, 0), hm(9, 0), "Anruf")
                                          << "Mittwoch, 2. Dezember 2026, 10:00, Anruf";
        QTest::newRow("line break in the text")
            << timed(hm(8, 0), hm(9, 0), "Team\r\nrunde") << "Mittwoch, 2. Dezember 2026, 08:00 bis 09:00, Team runde";
        AppointmentFacts fair = timed(0, 2, "Messe");
        fair.allDay = true;
        fair.done = true;
        QTest::newRow("all-day over three days, done")
            << fair << "Mittwoch, 2. Dezember 2026 bis Freitag, 4. Dezember 2026, ganztägig, Messe, erledigt";
        AppointmentFacts note = timed(hm(14, 0), hm(15, 0), "");
        note.participant = QStringLiteral("Raum 2");
        note.note = true;
        QTest::newRow("note without text")
            << note << "Mittwoch, 2. Dezember 2026, 14:00 bis 15:00, Raum 2, Hinweis";
    }
    void appointment()
    {
        QFETCH(AppointmentFacts, facts);
        QTEST(accessibleAppointmentName(facts), "expected");
    }
};

DAYPLEX_TEST_MAIN(tst_AccessibleNames)
#include "tst_accessiblenames.moc"
