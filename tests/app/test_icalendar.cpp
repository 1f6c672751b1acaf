// Calendar files in and out: a series stays one series with its exceptions and changed
// occurrences, a meeting stays one appointment of all who take part, and what another
// program wrote (Exchange, SabreDAV, Thunderbird, KOrganizer) reads as its users saw it.
#include "../support/testing.h"
#include "icalendar.h"

#include <QFile>
#include <QtTest>

using namespace Terminplaner;

namespace {

constexpr int kDefaultParticipant = 3;

const QVector<Participant> kTeam{{1, QStringLiteral("Anna Becker"), {}},
                                 {2, QStringLiteral("Thomas Müller"), {}},
                                 {3, QStringLiteral("Sabine Weber"), {}}};

QString local(Dayplex::Date value)
{
    return Dayplex::toQDateTime(value).toString(QStringLiteral("yyyy-MM-dd hh:mm"));
}

QString locals(const QList<Dayplex::Date> &values)
{
    QStringList texts;
    for (Dayplex::Date value : values)
        texts.append(local(value));
    return texts.join(QLatin1Char(','));
}

// One line per thing the import carries: series and single appointments, changed
// occurrences, removals; everything the database needs to apply it.
QStringList describe(const ICalendarImport &import)
{
    QStringList lines;
    for (const Appointment &a : import.appointments) {
        QStringList ids;
        for (int id : a.participantIds.isEmpty() ? QList<int>{a.participantId} : a.participantIds)
            ids.append(QString::number(id));
        lines.append(QStringLiteral("%1 %2..%3 %4 +[%5] -[%6] P%7")
                         .arg(a.uid, local(a.start), local(a.end), a.rrule, locals(a.rdates),
                              locals(a.exdates), ids.join(QLatin1Char(','))));
    }
    for (const Appointment &o : import.overrides)
        lines.append(QStringLiteral("%1@%2 %3..%4 %5").arg(o.uid, local(o.recurrenceStart), local(o.start),
                                                          local(o.end), o.text));
    for (const QString &uid : import.removedUids)
        lines.append(QStringLiteral("removed %1").arg(uid));
    for (const CancelledOccurrence &c : import.cancelledOccurrences)
        lines.append(QStringLiteral("cancelled %1@%2").arg(c.uid, local(c.recurrenceStart)));
    return lines;
}

QByteArray calendar(const QByteArray &body)
{
    QByteArray lines = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Test//DE\r\n" + body + "END:VCALENDAR\r\n";
    return lines.replace("\n", "\r\n").replace("\r\r\n", "\r\n");
}

QByteArray corpusFile(const QString &name)
{
    QFile file(QStringLiteral(TERMINPLANER_ICAL_CORPUS "/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray writeBack(const ICalendarImport &import)
{
    QHash<int, QString> names;
    for (const Participant &p : kTeam)
        names.insert(p.id, p.name);
    return writeICalendar(import.appointments + import.overrides, names,
                          QDateTime(QDate(2026, 12, 1), QTime(8, 0), Qt::UTC));
}

// The KOrganizer file's series: every 2 weeks on Tuesday and Thursday at 12:00 UTC, which is
// 14:00 in summer time; the winter dates of KOrganizer's own list come at 13:00 instead.
QString korganizerSeries()
{
    QFile ref(QStringLiteral(TERMINPLANER_ICAL_CORPUS "/kde_KOrganizer_Test01.ics.recurson.ref"));
    if (!ref.open(QIODevice::ReadOnly))
        return {};
    QStringList summer, winter;
    for (const QByteArray &line : ref.readAll().split('\n'))
        if (!line.trimmed().isEmpty() && line.trimmed() >= "2005-10-30") {
            summer.append(QString::fromLatin1(line.trimmed()) + QStringLiteral(" 14:00"));
            winter.append(QString::fromLatin1(line.trimmed()) + QStringLiteral(" 13:00"));
        }
    return QStringLiteral("KOrganizer-1943919749.348 2005-05-20 14:00..2005-05-20 15:00 "
                          "FREQ=WEEKLY;COUNT=27;INTERVAL=2;BYDAY=TU,TH +[%1] -[%2] P1")
        .arg(winter.join(QLatin1Char(',')), summer.join(QLatin1Char(',')));
}

} // namespace

class tst_ICalendar : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void filesOfOtherPrograms_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("expected"); // lines of describe(); only those that start with the uid given
        QTest::newRow("Exchange: exception in UTC, moved occurrence, New York series")
            << "gen_exchange_series.ics"
            << QStringList{"exch-series-1@gen 2027-10-11 09:00..2027-10-11 10:00 FREQ=WEEKLY;UNTIL=20271115T090000;BYDAY=MO "
                           "+[] -[2027-10-25 09:00] P3",
                           "ny-series@gen 2027-03-01 16:00..2027-03-01 17:00 FREQ=WEEKLY;COUNT=6 "
                           "+[2027-03-15 15:00,2027-03-22 15:00] -[2027-03-15 16:00,2027-03-22 16:00] P3",
                           "exch-series-1@gen@2027-11-08 09:00 2027-11-09 14:00..2027-11-09 15:00 "
                           "Jour fixe Vertrieb (verschoben auf Dienstag)"};
        QTest::newRow("SabreDAV: weekly with an exception in UTC")
            << "rie_each_week_but_one_deleted.ics"
            << QStringList{"SX2CURHKFTKKFFU3VUD7K 2019-03-04 00:30..2019-03-04 01:00 FREQ=WEEKLY;COUNT=8 "
                           "+[] -[2019-03-11 00:30] P3"};
        QTest::newRow("Thunderbird: three moved occurrences")
            << "rie_recurring_events_moved.ics"
            << QStringList{"5d4c6843-9300-4f91-8d88-6094d4b0b840 2019-03-18 04:00..2019-03-18 05:00 "
                           "FREQ=DAILY;UNTIL=20190320T040000 +[] -[] P3",
                           "a0c78729-30b1-4ba3-a86e-6aedd995d788 2019-03-07 02:00..2019-03-07 03:00 "
                           "FREQ=DAILY;UNTIL=20190310T020000 +[] -[] P3",
                           "5d4c6843-9300-4f91-8d88-6094d4b0b840@2019-03-19 04:00 2019-03-19 04:00..2019-03-19 05:00 test7 - edited",
                           "a0c78729-30b1-4ba3-a86e-6aedd995d788@2019-03-08 02:00 2019-03-08 01:00..2019-03-08 02:00 New Event",
                           "a0c78729-30b1-4ba3-a86e-6aedd995d788@2019-03-09 02:00 2019-03-09 03:00..2019-03-09 04:00 New Event"};
        QTest::newRow("khal: duration, exception and UNTIL in UTC")
            << "khal_event_dtr_exdatez.ics"
            << QStringList{"event_dtr_exdatez 2014-06-30 07:30..2014-06-30 12:01 FREQ=WEEKLY;UNTIL=20140725T073000 "
                           "+[] -[2014-07-21 07:30] P3"};
        QTest::newRow("Exchange through Evolution: floating UNTIL, exception in UTC, leftover errors")
            << "rie_issue_27_t1.ics"
            << QStringList{"3bbe38c205956551730fc9233525fe268296ec02 2020-04-26 14:00..2020-04-26 14:30 "
                           "FREQ=DAILY;UNTIL=20200429T000000 +[] -[2020-04-27 14:00] P3"};
        // KOrganizer names its organizer, who is nobody of the team.
        QTest::newRow("KOrganizer: a UTC series across the autumn change")
            << "kde_KOrganizer_Test01.ics" << QStringList{korganizerSeries().replace(" P1", " P3")};
    }

    // Catches an import that loses a series' exceptions or changed occurrences, converts an
    // UNTIL or an exception from UTC wrongly, or puts a series of another zone at one local
    // time across clock changes that move it.
    void filesOfOtherPrograms()
    {
        QFETCH(QString, file);
        QFETCH(QStringList, expected);
        const QByteArray data = corpusFile(file);
        if (data.isEmpty())
            QSKIP("the calendar files of other programs are not beside this clone");
        const ICalendarImport import = readICalendar(data, kTeam, kDefaultParticipant);
        QCOMPARE(describe(import), expected);
        // Written and read again, the series come back as they are.
        QCOMPARE(describe(readICalendar(writeBack(import), kTeam, kDefaultParticipant)), expected);
    }

    // Catches a series without end that is cut off somewhere or loses its rule.
    void openSeriesStayOpen()
    {
        const QByteArray data = corpusFile(QStringLiteral("gen_100_open_daily.ics"));
        if (data.isEmpty())
            QSKIP("the calendar files of other programs are not beside this clone");
        const ICalendarImport import = readICalendar(data, kTeam, kDefaultParticipant);
        QCOMPARE(import.appointments.size(), 100);
        for (const Appointment &a : import.appointments)
            QVERIFY2(a.rrule == QLatin1String("FREQ=DAILY") && a.exdates.isEmpty() && a.rdates.isEmpty(),
                     qPrintable(a.uid));
        QCOMPARE(local(import.appointments.last().start), QStringLiteral("2026-01-05 16:00"));
    }
};

QTEST_GUILESS_MAIN(tst_ICalendar)
#include "test_icalendar.moc"
