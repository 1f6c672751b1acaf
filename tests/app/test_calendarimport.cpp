// Calendar files into the database as they mean them: UIDs that count only within the
// calendar they come from, updates and cancellations, the report, and cancelled imports.
#include "../support/testing.h"
#include "icsfixture.h"

using namespace Terminplaner;
using namespace Terminplaner::Testing;
using Dayplex::Testing::day;

namespace {

constexpr int kDefaultParticipant = 5;

// An event on the day given as "20270104", from 09:00 to 10:00 Berlin time or the hours given.
QByteArray vevent(const QByteArray &uid, const QByteArray &summary, const QByteArray &day, const QByteArray &more = {},
                  const QByteArray &from = "09", const QByteArray &to = "10")
{
    return "BEGIN:VEVENT\nUID:" + uid + "\nSUMMARY:" + summary + "\nDTSTART;TZID=Europe/Berlin:" + day + "T" + from
           + "0000\nDTEND;TZID=Europe/Berlin:" + day + "T" + to + "0000\n" + more + "END:VEVENT\n";
}

void write(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size());
}

// Stands for this program's own export of everything stored, in a list of files.
const QByteArray kOwnExport = "export";

} // namespace

class tst_CalendarImport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void identity_data()
    {
        QTest::addColumn<QList<QByteArray>>("files"); // imported one after the other
        QTest::addColumn<QStringList>("expected");     // besides this program's own "7"
        QTest::addColumn<QString>("counts");           // of the last import: new changed unchanged removed
        const QByteArray a = "PRODID:-//Kalender A//DE", b = "PRODID:-//Kalender B//DE";
        const QByteArray holiday = vevent("7", "Feiertag A", "20270105");
        const QByteArray series = vevent("s", "Jour fixe", "20270111", "RRULE:FREQ=WEEKLY;COUNT=3\n");
        const QString fixe = QStringLiteral("2027-01-%1 %2-%3 Jour fixe");
        const QStringList weekly{fixe.arg("11", "09:00", "10:00"), fixe.arg("18", "09:00", "10:00"),
                                 fixe.arg("25", "09:00", "10:00")};
        const QByteArray cancel = "\nMETHOD:CANCEL", the18th = "RECURRENCE-ID;TZID=Europe/Berlin:20270118T090000\n";
        QTest::newRow("two calendars with the same UID both stay")
            << QList<QByteArray>{calendar(holiday, a), calendar(vevent("7", "Urlaub B", "20270105"), b)}
            << QStringList{"2027-01-05 09:00-10:00 Feiertag A", "2027-01-05 09:00-10:00 Urlaub B"} << "1 0 0 0";
        QTest::newRow("a calendar is told apart by its name as well")
            << QList<QByteArray>{calendar(holiday, a + "\nX-WR-CALNAME:Anna"), calendar(holiday, a + "\nX-WR-CALNAME:Tom")}
            << QStringList{"2027-01-05 09:00-10:00 Feiertag A", "2027-01-05 09:00-10:00 Feiertag A"} << "1 0 0 0";
        QTest::newRow("an updated export of the same calendar replaces")
            << QList<QByteArray>{calendar(holiday, a), calendar(vevent("7", "Feiertag A verlegt", "20270106"), a)}
            << QStringList{"2027-01-06 09:00-10:00 Feiertag A verlegt"} << "0 1 0 0";
        QTest::newRow("the own export of both calendars comes back unchanged")
            << QList<QByteArray>{calendar(holiday, a), calendar(vevent("7", "Urlaub B", "20270105"), b), kOwnExport}
            << QStringList{"2027-01-05 09:00-10:00 Feiertag A", "2027-01-05 09:00-10:00 Urlaub B"} << "0 0 3 0";
        QTest::newRow("a changed occurrence in an update changes the series")
            << QList<QByteArray>{calendar(series, a), calendar(series + vevent("s", "Jour fixe spät", "20270118", the18th, "17", "18"), a)}
            << QStringList{weekly[0], "2027-01-18 17:00-18:00 Jour fixe spät", weekly[2]} << "0 1 0 0";
        QTest::newRow("a cancelling method removes the series")
            << QList<QByteArray>{calendar(series, a), calendar(series, a + cancel)} << QStringList{} << "0 0 0 1";
        QTest::newRow("a cancelling method takes one occurrence out")
            << QList<QByteArray>{calendar(series, a), calendar(vevent("s", "Jour fixe", "20270118", the18th), a + cancel)}
            << QStringList{weekly[0], weekly[2]} << "0 0 0 1";
        QTest::newRow("another calendar cancels nothing of this one")
            << QList<QByteArray>{calendar(series, a), calendar(series, b + cancel)} << weekly << "0 0 0 0";
        QByteArray split = vevent("s", "Jour fixe", "20270118", the18th, "11", "12");
        QTest::newRow("a split the update no longer holds goes")
            << QList<QByteArray>{calendar(series + split.replace("RECURRENCE-ID;", "RECURRENCE-ID;RANGE=THISANDFUTURE;"), a),
                                 calendar(series, a)}
            << weekly << "0 1 0 1";
    }

    // Catches a UID of one calendar that replaces another's or this program's own, an update
    // that leaves what it no longer holds, an own export that comes back doubled, and a
    // cancellation that misses or reaches too far.
    void identity()
    {
        QFETCH(QList<QByteArray>, files);
        QFETCH(QStringList, expected);
        QFETCH(QString, counts);
        Database db;
        openEmpty(db, m_dir.filePath(QStringLiteral("identity-%1.sqlite").arg(QTest::currentDataTag())));
        Appointment own;
        own.uid = QStringLiteral("7");
        own.text = QStringLiteral("Eigener Termin");
        own.start = day(2027, 1, 5) + Dayplex::Testing::hm(8, 0);
        own.end = own.start + Dayplex::Testing::hm(0, 30);
        own.participantId = 1;
        db.insertAppointment(own);
        const QString path = m_dir.filePath(QStringLiteral("kalender.ics"));
        ExchangeResult last;
        for (const QByteArray &content : files) {
            if (content == kOwnExport) {
                exportICalendar(db, path, kFrom, kTo, {});
            } else {
                write(path, content);
            }
            last = importICalendar(db, path, kDefaultParticipant);
        }
        expected.append(QStringLiteral("2027-01-05 08:00-08:30 Eigener Termin"));
        expected.sort();
        QCOMPARE(occurrences(db), expected);
        QCOMPARE(counted(last.count), counts);
    }

    // Catches a report that leaves out a count or the reader's notes.
    void reportNamesEveryCount()
    {
        Database db;
        openEmpty(db, m_dir.filePath(QStringLiteral("report.sqlite")));
        const QString path = m_dir.filePath(QStringLiteral("bericht.ics"));
        write(path, calendar(vevent("1", "Gut", "20270104") + vevent("2", "Kaputt", "20271304"), "PRODID:-//A//DE"));
        QCOMPARE(importICalendar(db, path, kDefaultParticipant).report,
                 QStringLiteral("Aus „bericht.ics“ importiert: 1 Termin neu, 0 geändert, 0 unverändert, 0 entfernt, "
                                "1 übersprungen. 1 Termin übersprungen: „Kaputt“ (Zeile 10): ungültige Zeitangabe "
                                "„20271304T090000“."));
    }

    void nothingWritten_data()
    {
        QTest::addColumn<int>("cancelAt"); // the progress call that cancels
        QTest::newRow("cancelled on the way") << 50;
        QTest::newRow("cancelled when all is read") << 100;
    }

    // Catches a cancelled import that writes part of the file, and progress that never reaches
    // the end of the file.
    void nothingWritten()
    {
        QFETCH(int, cancelAt);
        const QString path = corpusPath(QStringLiteral("gen_100_open_daily.ics"));
        if (!QFile::exists(path))
            QSKIP("the calendar files of other programs are not beside this clone");
        Database db;
        openEmpty(db, m_dir.filePath(QStringLiteral("nichts-%1.sqlite").arg(cancelAt)));
        QVERIFY_THROWS_EXCEPTION(ICalendarCancelled, importICalendar(db, path, kDefaultParticipant,
                                                                     [cancelAt](int done, int) { return done != cancelAt; }));
        QCOMPARE(db.appointmentCount(), 0);
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(tst_CalendarImport)
#include "test_calendarimport.moc"
