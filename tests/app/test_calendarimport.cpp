// Calendar files into the database as they mean them: the occurrences a view is handed
// afterwards, a second import that changes nothing, the way out and back in, and UIDs that
// count only within the calendar they come from.
#include "../support/testing.h"
#include "calendarexchange.h"

#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

using namespace Terminplaner;
using Dayplex::Testing::day;

namespace {

constexpr int kDefaultParticipant = 5;
// The corpus counts series up to this day.
const Dayplex::Date kFrom = day(1990, 1, 1);
const Dayplex::Date kTo = day(2028, 12, 8);

QString corpusPath(const QString &name)
{
    return QStringLiteral(TERMINPLANER_ICAL_CORPUS "/") + name;
}

// A new database with the demo team and none of its appointments.
void openEmpty(Database &db, const QString &path)
{
    db.open(path, QDate(2026, 12, 7));
    QSqlQuery(QSqlDatabase::database(db.connectionName())).exec(QStringLiteral("DELETE FROM appointments"));
    QCOMPARE(db.appointmentCount(), 0);
}

// What a view is handed: "2027-10-11 09:00-10:00 Title", all-day "2027-04-19..2027-04-23 Title",
// sorted (the database orders equal starts by its own keys).
QStringList occurrences(const Database &db)
{
    QStringList lines;
    for (const Appointment &a : db.appointmentsInDays(kFrom, kTo)) {
        const QDateTime start = Dayplex::toQDateTime(a.start), end = Dayplex::toQDateTime(a.end);
        lines.append(a.allDay ? QStringLiteral("%1..%2 %3").arg(start.toString("yyyy-MM-dd"), end.toString("yyyy-MM-dd"), a.text)
                              : QStringLiteral("%1-%2 %3").arg(start.toString("yyyy-MM-dd hh:mm"), end.toString("hh:mm"), a.text));
    }
    lines.sort();
    return lines;
}

// new changed unchanged removed
QString counted(const ImportCount &count)
{
    return QStringLiteral("%1 %2 %3 %4").arg(count.added).arg(count.updated).arg(count.unchanged).arg(count.removed);
}

// The starts python3-recurring-ical-events gives for the file in Berlin time, sorted.
QStringList oracleStarts(const QString &file)
{
    QProcess python;
    python.start("/usr/bin/python3",
                 {"-c", "import sys, datetime, zoneinfo, icalendar, recurring_ical_events as r\n"
                        "cal = icalendar.Calendar.from_ical(open(sys.argv[1], 'rb').read())\n"
                        "berlin = zoneinfo.ZoneInfo('Europe/Berlin')\n"
                        "def local(d):\n"
                        "    if not isinstance(d, datetime.datetime): return d.strftime('%Y-%m-%d 00:00')\n"
                        "    return (d.astimezone(berlin) if d.tzinfo else d).strftime('%Y-%m-%d %H:%M')\n"
                        "for e in r.of(cal).between(datetime.date(1990, 1, 1), datetime.date(2028, 12, 9)):\n"
                        "    print(local(e['DTSTART'].dt))",
                  file});
    if (!python.waitForFinished(60000) || python.exitCode() != 0)
        return {};
    QStringList starts = QString::fromUtf8(python.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    starts.sort();
    return starts;
}

// A calendar whose head names it (PRODID, X-WR-CALNAME, METHOD) around events.
QByteArray calendar(const QByteArray &head, const QByteArray &events)
{
    QByteArray lines = "BEGIN:VCALENDAR\nVERSION:2.0\n" + head + "\n" + events + "END:VCALENDAR\n";
    return lines.replace("\n", "\r\n");
}

// An event at 09:00 to 10:00 Berlin time on the day given as "20270104", with more lines.
QByteArray vevent(const QByteArray &uid, const QByteArray &summary, const QByteArray &day, const QByteArray &more = {})
{
    return "BEGIN:VEVENT\nUID:" + uid + "\nSUMMARY:" + summary + "\nDTSTART;TZID=Europe/Berlin:" + day
           + "T090000\nDTEND;TZID=Europe/Berlin:" + day + "T100000\n" + more + "END:VEVENT\n";
}

// Stands for this program's own export of everything stored, in a list of files.
const QByteArray kOwnExport = "export";

} // namespace

class tst_CalendarImport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void corpus_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("count");            // occurrences handed out; -1: the oracle's
        QTest::addColumn<QStringList>("expected"); // some of them
        const auto row = [](const char *file, int count, const QStringList &expected = {}) {
            QTest::newRow(file) << QString::fromLatin1(file) << count << expected;
        };
        row("gen_exchange_series.ics", 11,
            {"2027-10-11 09:00-10:00 Jour fixe Vertrieb", "2027-11-09 14:00-15:00 Jour fixe Vertrieb (verschoben auf Dienstag)",
             "2027-11-15 09:00-10:00 Jour fixe Vertrieb", "2027-03-15 15:00-16:00 Call mit New York 10:00 EST/EDT",
             "2027-04-05 16:00-17:00 Call mit New York 10:00 EST/EDT"});
        row("rie_each_week_but_one_deleted.ics", 7, {"2019-03-04 00:30-01:00 test6", "2019-04-15 00:30-01:00 test6"});
        row("rie_recurring_events_moved.ics", 7,
            {"2019-03-19 04:00-05:00 test7 - edited", "2019-03-08 01:00-02:00 New Event", "2019-03-09 03:00-04:00 New Event"});
        row("rie_issue_163_deleted_modification.ics", 76, {"2024-07-29..2024-08-04 test123"});
        row("khal_event_dtr_exdatez.ics", 3,
            {"2014-06-30 07:30-12:01 event_dtr_exdatez", "2014-07-07 07:30-12:01 event_dtr_exdatez",
             "2014-07-14 07:30-12:01 event_dtr_exdatez"});
        row("rie_issue_27_t1.ics", 2, {"2020-04-26 14:00-14:30 Reoccur", "2020-04-28 14:00-14:30 Reoccur"});
        row("rie_Germany.ics", 159, {"2008-01-01..2008-01-01 Germany: New Years Day"});
        row("rie_Germany_Holidays.ics", 34, {"2019-01-06..2019-01-06 Epiphany"});
        row("deb_encoding.ics", 1, {"2010-10-10 12:00-14:00 Non-ASCII Test: ÄÖÜ äöü €"});
        // The meeting of two is handed out once.
        row("gen_outlook_umlaut.ics", 4,
            {"2027-04-19..2027-04-23 Messe Hannover (Mo–Fr)",
             "2027-04-26..2027-04-26 Ganztägig als Mitternacht-Mitternacht (Outlook-Stil)"});
        // No horizon: every day from 5.1.2026 to the end of the range, 1069 days each.
        row("gen_100_open_daily.ics", 106900, {"2028-12-08 16:00-16:30 Serie 99"});
        row("rie_daylight_saving_time.ics", -1);
    }

    // Catches a file whose occurrences reach the database other than the file means them, a
    // second import that writes or counts anything as changed, and an export that another
    // database or this one reads back differently, doubled or not at all.
    void corpus()
    {
        QFETCH(QString, file);
        QFETCH(int, count);
        QFETCH(QStringList, expected);
        if (!QFile::exists(corpusPath(file)))
            QSKIP("the calendar files of other programs are not beside this clone");
        Database db;
        openEmpty(db, m_dir.filePath(file + ".sqlite"));
        const ExchangeResult first = importICalendar(db, corpusPath(file), kDefaultParticipant);
        const QStringList seen = occurrences(db);
        if (count < 0) {
            QStringList starts;
            for (const QString &line : seen)
                starts.append(line.left(16).replace(QLatin1String(".."), QLatin1String(" 00:00")).left(16));
            starts.sort();
            const QStringList oracle = oracleStarts(corpusPath(file));
            if (oracle.isEmpty())
                QSKIP("python3-recurring-ical-events is not installed");
            QCOMPARE(starts, oracle);
        } else {
            QCOMPARE(seen.size(), count);
        }
        for (const QString &line : expected)
            QVERIFY2(seen.contains(line), qPrintable(seen.mid(0, 12).join('\n')));
        QCOMPARE(counted(first.count), QStringLiteral("%1 0 0 0").arg(first.count.added));

        const ExchangeResult again = importICalendar(db, corpusPath(file), kDefaultParticipant);
        QCOMPARE(counted(again.count), QStringLiteral("0 0 %1 0").arg(first.count.added));
        QCOMPARE(occurrences(db), seen);

        const QString exported = m_dir.filePath(file + ".out.ics");
        exportICalendar(db, exported, kFrom, kTo, {});
        Database other;
        openEmpty(other, m_dir.filePath(file + ".other.sqlite"));
        QCOMPARE(importICalendar(other, exported, kDefaultParticipant).count.added, first.count.added);
        QCOMPARE(occurrences(other), seen);
        // This program's own export back into the database it came from: nothing doubled.
        const ImportCount back = importICalendar(db, exported, kDefaultParticipant).count;
        QCOMPARE(back.added, 0);
        QCOMPARE(occurrences(db), seen);
    }

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
        QTest::newRow("two calendars with the same UID both stay")
            << QList<QByteArray>{calendar(a, holiday), calendar(b, vevent("7", "Urlaub B", "20270105"))}
            << QStringList{"2027-01-05 09:00-10:00 Feiertag A", "2027-01-05 09:00-10:00 Urlaub B"} << "1 0 0 0";
        QTest::newRow("a calendar is told apart by its name as well")
            << QList<QByteArray>{calendar(a + "\nX-WR-CALNAME:Anna", holiday), calendar(a + "\nX-WR-CALNAME:Tom", holiday)}
            << QStringList{"2027-01-05 09:00-10:00 Feiertag A", "2027-01-05 09:00-10:00 Feiertag A"} << "1 0 0 0";
        QTest::newRow("an updated export of the same calendar replaces")
            << QList<QByteArray>{calendar(a, holiday), calendar(a, vevent("7", "Feiertag A verlegt", "20270106"))}
            << QStringList{"2027-01-06 09:00-10:00 Feiertag A verlegt"} << "0 1 0 0";
        QTest::newRow("the own export of both calendars comes back unchanged")
            << QList<QByteArray>{calendar(a, holiday), calendar(b, vevent("7", "Urlaub B", "20270105")), kOwnExport}
            << QStringList{"2027-01-05 09:00-10:00 Feiertag A", "2027-01-05 09:00-10:00 Urlaub B"} << "0 0 3 0";
        QTest::newRow("a changed occurrence in an update changes the series")
            << QList<QByteArray>{calendar(a, series),
                                 calendar(a, series + vevent("s", "Jour fixe spät", "20270118",
                                                            "RECURRENCE-ID;TZID=Europe/Berlin:20270118T090000\n")
                                                          .replace("T090000\nDTEND", "T170000\nDTEND")
                                                          .replace("T100000", "T180000"))}
            << QStringList{weekly[0], "2027-01-18 17:00-18:00 Jour fixe spät", weekly[2]} << "0 1 0 0";
        QTest::newRow("a cancelling method removes the series")
            << QList<QByteArray>{calendar(a, series), calendar(a + "\nMETHOD:CANCEL", series)} << QStringList{}
            << "0 0 0 1";
        QTest::newRow("a cancelling method takes one occurrence out")
            << QList<QByteArray>{calendar(a, series),
                                 calendar(a + "\nMETHOD:CANCEL",
                                          vevent("s", "Jour fixe", "20270118", "RECURRENCE-ID;TZID=Europe/Berlin:20270118T090000\n"))}
            << QStringList{weekly[0], weekly[2]} << "0 0 0 1";
        QTest::newRow("another calendar cancels nothing of this one")
            << QList<QByteArray>{calendar(a, series), calendar(b + "\nMETHOD:CANCEL", series)} << weekly << "0 0 0 0";
        QTest::newRow("a split the update no longer holds goes")
            << QList<QByteArray>{calendar(a, series + vevent("s", "Jour fixe", "20270118",
                                                            "RECURRENCE-ID;RANGE=THISANDFUTURE;TZID=Europe/Berlin:20270118T090000\n")
                                                          .replace("T090000\nDTEND", "T110000\nDTEND")
                                                          .replace("T100000", "T120000")),
                                 calendar(a, series)}
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
                QFile file(path);
                QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size());
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
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(calendar("PRODID:-//A//DE", vevent("1", "Gut", "20270104") + vevent("2", "Kaputt", "20271304")));
        file.close();
        QCOMPARE(importICalendar(db, path, kDefaultParticipant).report,
                 QStringLiteral("Aus „bericht.ics“ importiert: 1 Termin neu, 0 geändert, 0 unverändert, 0 entfernt, "
                                "1 übersprungen. 1 Termin übersprungen: „Kaputt“ (Zeile 10): ungültige Zeitangabe "
                                "„20271304T090000“."));
    }

    void nothingWritten_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("cancelAt"); // the progress call that cancels; 0 none
        QTest::newRow("cut off") << "gen_huge_truncated.ics" << 0;
        QTest::newRow("cancelled on the way") << "gen_100_open_daily.ics" << 50;
        QTest::newRow("cancelled when all is read") << "gen_100_open_daily.ics" << 100;
    }

    // Catches a refused file or a cancelled import that writes part of the file.
    void nothingWritten()
    {
        QFETCH(QString, file);
        QFETCH(int, cancelAt);
        if (!QFile::exists(corpusPath(file)))
            QSKIP("the calendar files of other programs are not beside this clone");
        Database db;
        openEmpty(db, m_dir.filePath(QStringLiteral("nichts-%1.sqlite").arg(cancelAt)));
        QVERIFY_THROWS_EXCEPTION(ICalendarError, importICalendar(db, corpusPath(file), kDefaultParticipant,
                                                                 [cancelAt](int done, int) { return done != cancelAt; }));
        QCOMPARE(db.appointmentCount(), 0);
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(tst_CalendarImport)
#include "test_calendarimport.moc"
