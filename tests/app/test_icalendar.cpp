// Calendar exchange of the Terminplaner: .ics export and import, a file as Thunderbird writes
// it, and files that must be refused whole.
#include "database.h"
#include "icalendar.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

using namespace Terminplaner;

namespace {

const QDate kAnchor(2026, 12, 7);
const QDate kHorizon(2028, 12, 31);
constexpr int kDefaultParticipant = 5; // Sabine Weber in the demo team

Dayplex::Date at(QDate day, int hour, int minute = 0, int second = 0)
{
    return Dayplex::toDate(day) + (hour * 3600 + minute * 60 + second) / 86400.0;
}

QString sql(Dayplex::Date value)
{
    return Database::toSqlDateTime(value);
}

QByteArray sampleFile(const char *name)
{
    QFile file(QStringLiteral(TERMINPLANER_ICS_DIR "/") + QLatin1String(name));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing sample file %s", name);
    return file.readAll();
}

// A calendar around the given VEVENT lines, with the zone Outlook names.
QByteArray calendarWith(const QByteArray &eventLines)
{
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Test//DE\r\n"
           "BEGIN:VEVENT\r\nUID:probe-1\r\nDTSTAMP:20260101T000000Z\r\nSUMMARY:Probe\r\n"
           + eventLines + "END:VEVENT\r\nEND:VCALENDAR\r\n";
}

// One line per appointment, everything the host stores except the database id.
QString describe(const Appointment &a)
{
    return QStringLiteral("%1|%2|%3|%4|%5|%6|%7|%8|%9|%10|%11")
        .arg(a.uid, a.text, sql(a.start), sql(a.end))
        .arg(a.allDay)
        .arg(a.fontColor, 6, 16, QLatin1Char('0'))
        .arg(a.backColor, 6, 16, QLatin1Char('0'))
        .arg(a.done)
        .arg(a.readOnly)
        .arg(a.participantId)
        .arg(a.note);
}

QStringList describeAll(const QVector<Appointment> &appointments)
{
    QStringList lines;
    for (const Appointment &a : appointments)
        lines.append(describe(a));
    lines.sort();
    return lines;
}

QHash<int, QString> names(const QVector<Participant> &participants)
{
    QHash<int, QString> result;
    for (const Participant &p : participants)
        result.insert(p.id, p.name);
    return result;
}


} // namespace

class tst_ICalendar : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_db = std::make_unique<Database>();
        m_db->open(m_dir.filePath(QStringLiteral("ics-%1.sqlite").arg(++m_counter)), kAnchor);
    }

    void cleanup() { m_db.reset(); }

    // Catches a field lost or altered on the way out and back in, and a re-import that
    // duplicates instead of replacing by UID.
    void roundTripKeepsEverythingTheHostStores()
    {
        QVector<Appointment> mine;
        Appointment timed;
        timed.text = QStringLiteral("Abnahme Lindner AG; Punkte: a, b\nzweite Zeile – äöüß €");
        timed.start = at(QDate(2026, 3, 29), 2, 30); // inside the spring gap, kept as typed
        timed.end = at(QDate(2026, 3, 29), 4, 15, 30);
        timed.fontColor = 0x00102030;
        timed.backColor = 0x00C8EEC8;
        timed.done = true;
        timed.readOnly = true;
        timed.participantId = 3;
        mine.append(timed);
        Appointment allDay;
        allDay.text = QStringLiteral("Urlaub");
        allDay.start = at(QDate(2026, 10, 23), 0);
        allDay.end = at(QDate(2026, 10, 26), 0); // the host's inclusive last day
        allDay.allDay = true;
        allDay.note = true;
        allDay.participantId = 8;
        mine.append(allDay);
        Appointment ambiguous = timed;
        ambiguous.text = QStringLiteral("Nachtlauf");
        ambiguous.start = at(QDate(2026, 10, 25), 2, 15); // the hour that comes twice
        ambiguous.end = at(QDate(2026, 10, 25), 2, 45);
        ambiguous.done = ambiguous.readOnly = false;
        ambiguous.participantId = 1;
        mine.append(ambiguous);
        for (const Appointment &a : mine)
            m_db->insertAppointment(a);

        const QVector<Appointment> stored =
            m_db->appointmentsInDays(at(QDate(2026, 1, 1), 0), at(QDate(2026, 12, 31), 0), {1, 3, 8});
        const QVector<Participant> team = m_db->participants();
        const QByteArray ics = writeICalendar(stored, names(team), QDateTime::currentDateTimeUtc());
        const ICalendarImport back = readICalendar(ics, team, kDefaultParticipant, kHorizon);
        QCOMPARE(describeAll(back.appointments), describeAll(stored));

        const int before = m_db->appointmentCount();
        const ImportCount count = m_db->importAppointments(back.appointments);
        QCOMPARE(count.added, 0);
        QCOMPARE(count.updated, stored.size());
        QCOMPARE(m_db->appointmentCount(), before);
    }

    // Catches local times written without their zone, a missing zone definition, and an
    // all-day end written inclusive instead of the standard's exclusive day.
    void exportWritesBerlinTimesAndExclusiveDates()
    {
        Appointment timed;
        timed.uid = QStringLiteral("fest-1@terminplaner");
        timed.text = QStringLiteral("Probe");
        timed.start = at(QDate(2026, 10, 25), 2, 30);
        timed.end = at(QDate(2026, 10, 25), 3, 0);
        Appointment allDay = timed;
        allDay.uid = QStringLiteral("fest-2@terminplaner");
        allDay.allDay = true;
        allDay.start = at(QDate(2026, 3, 29), 0);
        allDay.end = at(QDate(2026, 3, 29), 0);
        const QString ics = QString::fromUtf8(writeICalendar({timed, allDay}, {}, QDateTime::currentDateTimeUtc()))
                                .remove(QStringLiteral("\r\n "));
        QVERIFY(ics.contains(QLatin1String("BEGIN:VTIMEZONE\r\nTZID:Europe/Berlin\r\n")));
        QVERIFY(ics.contains(QLatin1String("UID:fest-1@terminplaner\r\n")));
        QVERIFY(ics.contains(QLatin1String("DTSTART;TZID=Europe/Berlin:20261025T023000\r\n")));
        QVERIFY(ics.contains(QLatin1String("DTEND;TZID=Europe/Berlin:20261025T030000\r\n")));
        QVERIFY(ics.contains(QLatin1String("DTSTART;VALUE=DATE:20260329\r\n")));
        QVERIFY(ics.contains(QLatin1String("DTEND;VALUE=DATE:20260330\r\n")));
    }

    void malformedFiles_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("reason");
        const QByteArray good = sampleFile("thunderbird-oktober-2026.ics");
        QTest::newRow("cut off in transfer") << good.left(good.size() - 40) << QStringLiteral("END:VCALENDAR");
        QTest::newRow("no start") << calendarWith("DTEND:20261025T090000Z\r\n") << QStringLiteral("DTSTART");
        QTest::newRow("end before start")
            << calendarWith("DTSTART:20261025T090000Z\r\nDTEND:20261025T080000Z\r\n")
            << QStringLiteral("endet vor seinem Beginn");
        // The faulty event comes after good ones: none of them may be imported.
        QByteArray lateFault = good;
        lateFault.replace("DURATION:PT1H30M", "DURATION:PT1H30M\r\nDTEND:20261025T080000Z");
        QTest::newRow("a bad event after good ones") << lateFault << QStringLiteral("„Protokoll schreiben“");
    }

    // Catches a broken file that is half imported or refused without a German reason.
    void malformedFiles()
    {
        QFETCH(QByteArray, data);
        QFETCH(QString, reason);
        const int before = m_db->appointmentCount();
        try {
            const ICalendarImport import = readICalendar(data, m_db->participants(), kDefaultParticipant, kHorizon);
            m_db->importAppointments(import.appointments);
            QFAIL("the file was accepted");
        } catch (const ICalendarError &error) {
            QVERIFY2(error.message().startsWith(QStringLiteral("Die Datei ist keine gültige iCalendar-Datei")),
                     qPrintable(error.message()));
            QVERIFY2(error.message().contains(reason), qPrintable(error.message()));
            QVERIFY(error.message().endsWith(QStringLiteral("Es wurde nichts importiert.")));
        }
        QCOMPARE(m_db->appointmentCount(), before);
    }

    // Catches a series expanded without end or past its limits.
    void endlessSeriesStopsAtTheHorizon()
    {
        const ICalendarImport import = readICalendar(
            calendarWith("DTSTART;TZID=Europe/Berlin:20260105T080000\r\nDTEND;TZID=Europe/Berlin:20260105T081500\r\n"
                         "RRULE:FREQ=DAILY\r\n"),
            m_db->participants(), kDefaultParticipant, QDate(2026, 1, 31));
        QCOMPARE(import.appointments.size(), 27);
        QCOMPARE(sql(import.appointments.last().start), QStringLiteral("2026-01-31T08:00:00"));
        QCOMPARE(import.truncatedSeries, 1);
        const ICalendarImport capped = readICalendar(
            calendarWith("DTSTART:20260105T080000Z\r\nRRULE:FREQ=MINUTELY\r\n"), m_db->participants(),
            kDefaultParticipant, kHorizon);
        QCOMPARE(capped.appointments.size(), kMaxOccurrences);
    }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Database> m_db;
    int m_counter = 0;
};

QTEST_GUILESS_MAIN(tst_ICalendar)
#include "test_icalendar.moc"
