#ifndef TERMINPLANER_ICSFIXTURE_H
#define TERMINPLANER_ICSFIXTURE_H

// What the host's calendar suites share: tables written as "name|cell|cell" rows, calendar
// files of other programs and of the tests' own, a new database, what a view is handed from
// it, and python3-recurring-ical-events as the independent reading of a file.
#include "calendarexchange.h"

#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

namespace Terminplaner::Testing {

// Text columns, and one row per "name|cell|cell..." line.
inline void table(std::initializer_list<const char *> columns, const QStringList &rows)
{
    for (const char *column : columns)
        QTest::addColumn<QString>(column);
    for (const QString &row : rows) {
        QStringList cells = row.split(QLatin1Char('|'));
        QTestData &data = QTest::newRow(qPrintable(cells.takeFirst()));
        for (const QString &cell : cells)
            data << cell;
    }
}

inline QString corpusPath(const QString &name)
{
    return QStringLiteral(TERMINPLANER_ICAL_CORPUS "/") + name;
}

// A calendar whose head names it (PRODID, X-WR-CALNAME, METHOD) around events.
inline QByteArray calendar(const QByteArray &events, const QByteArray &head = "PRODID:-//Test//DE")
{
    QByteArray lines = "BEGIN:VCALENDAR\nVERSION:2.0\n" + head + "\n" + events + "END:VCALENDAR\n";
    return lines.replace("\n", "\r\n").replace("\r\r\n", "\r\n");
}

// The days the corpus counts series on.
inline const Dayplex::Date kFrom = Dayplex::toDate(QDate(1990, 1, 1));
inline const Dayplex::Date kTo = Dayplex::toDate(QDate(2028, 12, 8));

// A new database with the demo team and none of its appointments.
inline void openEmpty(Database &db, const QString &path)
{
    db.open(path, QDate(2026, 12, 7));
    QSqlQuery(QSqlDatabase::database(db.connectionName())).exec(QStringLiteral("DELETE FROM appointments"));
    QCOMPARE(db.appointmentCount(), 0);
}

// What a view is handed from kFrom to kTo: "2027-10-11 09:00-10:00 Title", all-day
// "2027-04-19..2027-04-23 Title", sorted (the database orders equal starts by its own keys).
inline QStringList occurrences(const Database &db)
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
inline QString counted(const ImportCount &count)
{
    return QStringLiteral("%1 %2 %3 %4").arg(count.added).arg(count.updated).arg(count.unchanged).arg(count.removed);
}

inline bool oracleInstalled()
{
    return QProcess::execute(QStringLiteral("/usr/bin/python3"), {"-c", "import recurring_ical_events"}) == 0;
}

// The starts python3-recurring-ical-events gives for the file from one day to the one before
// another, as "2027-01-29 16:00" in Berlin time (a day's start at 00:00), sorted; empty when
// it fails.
inline QStringList oracleStarts(const QString &file, const QString &from = "1990-01-01", const QString &to = "2028-12-09")
{
    QProcess python;
    python.start("/usr/bin/python3",
                 {"-c", "import sys, datetime, zoneinfo, icalendar, recurring_ical_events as r\n"
                        "cal = icalendar.Calendar.from_ical(open(sys.argv[1], 'rb').read())\n"
                        "berlin = zoneinfo.ZoneInfo('Europe/Berlin')\n"
                        "def local(d):\n"
                        "    if not isinstance(d, datetime.datetime): return d.strftime('%Y-%m-%d 00:00')\n"
                        "    return (d.astimezone(berlin) if d.tzinfo else d).strftime('%Y-%m-%d %H:%M')\n"
                        "a, b = (datetime.date.fromisoformat(x) for x in sys.argv[2:])\n"
                        "for e in r.of(cal).between(a, b):\n"
                        "    print(local(e['DTSTART'].dt))",
                  file, from, to});
    if (!python.waitForFinished(60000) || python.exitCode() != 0)
        return {};
    QStringList starts = QString::fromUtf8(python.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    starts.sort();
    return starts;
}

// KOrganizer's own list of the dates of its test series, 27 days from 24 May 2005.
inline QStringList korganizerDates()
{
    QFile ref(corpusPath(QStringLiteral("kde_KOrganizer_Test01.ics.recurson.ref")));
    QStringList dates;
    if (ref.open(QIODevice::ReadOnly))
        for (const QByteArray &line : ref.readAll().split('\n'))
            if (!line.trimmed().isEmpty())
                dates.append(QString::fromLatin1(line.trimmed()));
    return dates;
}

} // namespace Terminplaner::Testing

#endif
