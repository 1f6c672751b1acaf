// Calendar exchange of the Terminplaner: .ics export and import, a file as Thunderbird writes
// it, and files that must be refused whole.
#include "database.h"
#include "icalendar.h"
#include "../support/testing.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace Terminplaner;
using Dayplex::Testing::day;
using Dayplex::Testing::hm;

namespace {

const QDate kAnchor(2026, 12, 7);
const QDate kHorizon(2028, 12, 31);
constexpr int kDefaultParticipant = 5; // Sabine Weber in the demo team

QString sql(Dayplex::Date value)
{
    return Database::toSqlDateTime(value);
}

// A calendar around the given VEVENT lines, with the zone Outlook names.
QByteArray calendarWith(const QByteArray &eventLines)
{
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Test//DE\r\n"
           "BEGIN:VEVENT\r\nUID:probe-1\r\nDTSTAMP:20260101T000000Z\r\nSUMMARY:Probe\r\n"
           + eventLines + "END:VEVENT\r\nEND:VCALENDAR\r\n";
}

// One line per appointment, everything the host stores except the database id.
QStringList describe(const QVector<Appointment> &appointments)
{
    QStringList lines;
    for (const Appointment &a : appointments)
        lines.append(QStringLiteral("%1|%2|%3|%4|%5|%6|%7|%8|%9|%10|%11")
                         .arg(a.uid, a.text, sql(a.start), sql(a.end))
                         .arg(a.allDay)
                         .arg(a.fontColor, 6, 16, QLatin1Char('0'))
                         .arg(a.backColor, 6, 16, QLatin1Char('0'))
                         .arg(a.done)
                         .arg(a.readOnly)
                         .arg(a.participantId)
                         .arg(a.note));
    lines.sort();
    return lines;
}

} // namespace

class tst_ICalendar : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_db.open(m_dir.filePath(QStringLiteral("ics.sqlite")), kAnchor);
    }

    // Catches a field lost or altered on the way out and back in, a re-import that duplicates
    // instead of replacing by UID, local times written without their zone or its definition,
    // and an all-day end written inclusive instead of the standard's exclusive day.
    void roundTripKeepsEverythingTheHostStores()
    {
        Appointment timed;
        timed.text = QStringLiteral("Abnahme Lindner AG; Punkte: a, b\nzweite Zeile – äöüß €");
        timed.start = day(2026, 3, 29) + hm(2, 30); // inside the spring gap, kept as typed
        timed.end = day(2026, 3, 29) + hm(4, 15) + 30 / 86400.0;
        timed.fontColor = 0x00102030;
        timed.backColor = 0x00C8EEC8;
        timed.done = timed.readOnly = true;
        timed.participantId = 3;
        Appointment allDay;
        allDay.text = QStringLiteral("Urlaub");
        allDay.start = day(2026, 10, 23);
        allDay.end = day(2026, 10, 26); // the host's inclusive last day
        allDay.allDay = allDay.note = true;
        allDay.participantId = 8;
        Appointment ambiguous;
        ambiguous.text = QStringLiteral("Nachtlauf");
        ambiguous.start = day(2026, 10, 25) + hm(2, 15); // the hour that comes twice
        ambiguous.end = day(2026, 10, 25) + hm(2, 45);
        ambiguous.participantId = 1;
        for (const Appointment &a : {timed, allDay, ambiguous})
            m_db.insertAppointment(a);

        const QVector<Appointment> stored =
            m_db.appointmentsInDays(day(2026, 1, 1), day(2026, 12, 31), {1, 3, 8});
        QHash<int, QString> names;
        for (const Participant &p : m_db.participants())
            names.insert(p.id, p.name);
        const QByteArray ics = writeICalendar(stored, names, QDateTime::currentDateTimeUtc());
        const QString text = QString::fromUtf8(ics).remove(QStringLiteral("\r\n "));
        for (const QString &line :
             {QStringLiteral("BEGIN:VTIMEZONE\r\nTZID:Europe/Berlin\r\n"),
              QStringLiteral("UID:%1\r\n").arg(stored.first().uid),
              QStringLiteral("DTSTART;TZID=Europe/Berlin:20261025T021500\r\n"),
              QStringLiteral("DTEND;TZID=Europe/Berlin:20261025T024500\r\n"),
              QStringLiteral("DTSTART;VALUE=DATE:20261023\r\n"),
              QStringLiteral("DTEND;VALUE=DATE:20261027\r\n")})
            QVERIFY2(text.contains(line), qPrintable(line));
        const ICalendarImport back =
            readICalendar(ics, m_db.participants(), kDefaultParticipant, kHorizon);
        QCOMPARE(describe(back.appointments), describe(stored));

        const int before = m_db.appointmentCount();
        const ImportCount count = m_db.importAppointments(back.appointments);
        QCOMPARE(count.added, 0);
        QCOMPARE(count.updated, stored.size());
        QCOMPARE(m_db.appointmentCount(), before);
    }

    void malformedFiles_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("reason");
        QFile sample(QStringLiteral(TERMINPLANER_ICS_DIR "/thunderbird-oktober-2026.ics"));
        QVERIFY(sample.open(QIODevice::ReadOnly));
        const QByteArray good = sample.readAll();
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
        const int before = m_db.appointmentCount();
        try {
            const ICalendarImport import =
                readICalendar(data, m_db.participants(), kDefaultParticipant, kHorizon);
            m_db.importAppointments(import.appointments);
            QFAIL("the file was accepted");
        } catch (const ICalendarError &error) {
            QVERIFY2(error.message().startsWith(QStringLiteral("Die Datei ist keine gültige iCalendar-Datei")),
                     qPrintable(error.message()));
            QVERIFY2(error.message().contains(reason), qPrintable(error.message()));
            QVERIFY(error.message().endsWith(QStringLiteral("Es wurde nichts importiert.")));
        }
        QCOMPARE(m_db.appointmentCount(), before);
    }

    // Catches a series expanded without end or past its limits.
    void endlessSeriesStopsAtTheHorizon()
    {
        const ICalendarImport import = readICalendar(
            calendarWith("DTSTART;TZID=Europe/Berlin:20260105T080000\r\n"
                         "DTEND;TZID=Europe/Berlin:20260105T081500\r\nRRULE:FREQ=DAILY\r\n"),
            m_db.participants(), kDefaultParticipant, QDate(2026, 1, 31));
        QCOMPARE(import.appointments.size(), 27);
        QCOMPARE(sql(import.appointments.last().start), QStringLiteral("2026-01-31T08:00:00"));
        QCOMPARE(import.truncatedSeries, 1);
        const ICalendarImport capped = readICalendar(
            calendarWith("DTSTART:20260105T080000Z\r\nRRULE:FREQ=MINUTELY\r\n"), m_db.participants(),
            kDefaultParticipant, kHorizon);
        QCOMPARE(capped.appointments.size(), kMaxOccurrences);
    }

private:
    QTemporaryDir m_dir;
    Database m_db;
};

QTEST_GUILESS_MAIN(tst_ICalendar)
#include "test_icalendar.moc"
