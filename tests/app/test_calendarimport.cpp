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

QByteArray calendar(const QByteArray &head, const QByteArray &body)
{
    QByteArray lines = "BEGIN:VCALENDAR\nVERSION:2.0\n" + head + body + "END:VCALENDAR\n";
    return lines.replace("\n", "\r\n");
}

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

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(tst_CalendarImport)
#include "test_calendarimport.moc"
