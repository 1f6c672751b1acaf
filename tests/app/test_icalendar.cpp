// Calendar files in and out: a series stays one series with its exceptions and changed
// occurrences, a meeting stays one appointment of all who take part, and what another
// program wrote (Exchange, SabreDAV, Thunderbird, KOrganizer) reads as its users saw it.
#include "../support/testing.h"
#include "icalendar.h"

#include <QFile>
#include <QStringDecoder>
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
    for (const QString &note : import.notes)
        lines.append(QStringLiteral("note: ") + note);
    return lines;
}

// What a user sees of each appointment and changed occurrence: title and local times.
QStringList titlesAndTimes(const ICalendarImport &import)
{
    QStringList lines;
    for (const Appointment &a : import.appointments + import.overrides)
        lines.append(QStringLiteral("%1 %2..%3%4%5")
                         .arg(a.text, local(a.start), local(a.end), a.allDay ? QStringLiteral(" ganztägig") : QString(),
                              a.note ? QStringLiteral(" Notiz") : QString()));
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
    void corpus_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("count");             // series, single appointments and changed occurrences
        QTest::addColumn<QStringList>("expected");  // some of titlesAndTimes()
        QTest::addColumn<QString>("message");       // part of a note, or of the refusal when count < 0
        const auto row = [](const char *file, int count, const QStringList &expected = {}, const QString &message = {}) {
            QTest::newRow(file) << QString::fromLatin1(file) << count << expected << message;
        };
        row("rie_Germany.ics", 159, {"Germany: New Years Day 2008-01-01 00:00..2008-01-01 00:00 ganztägig"});
        row("rie_Germany_Holidays.ics", 34, {"Epiphany 2019-01-06 00:00..2019-01-06 00:00 ganztägig Notiz"});
        row("rie_issue_27_t1.ics", 1, {"Reoccur 2020-04-26 14:00..2020-04-26 14:30"});
        row("rie_daylight_saving_time.ics", 64, {"\"Bioökonomie-Tag\" 2019-02-28 20:00..2019-02-28 21:00"});
        row("ci_alarm_google_future.ics", 1, {"event with alarms 2024-10-04 20:15..2024-10-04 21:00"});
        row("rie_recurring_events_moved.ics", 5, {"test7 - edited 2019-03-19 04:00..2019-03-19 05:00"});
        row("rie_each_week_but_one_deleted.ics", 1, {"test6 2019-03-04 00:30..2019-03-04 01:00"});
        // The standard wants an end after the start: the only event is left out, so the file
        // holds nothing readable and is refused, one of the two outcomes expected of it.
        row("rie_end_before_start_event.ics", -1, {}, "„test1“ (Zeile 25): Ende vor Beginn");
        row("rie_discourse_no_dtend.ics", 4, {"2019-01-17 openLab 2019-01-17 18:00..2019-01-17 18:00"});
        row("rie_issue_163_deleted_modification.ics", 2, {"test123 2024-07-29 00:00..2024-08-04 00:00 ganztägig"});
        row("kde_KOrganizer_Test01.ics", 1);
        row("khal_event_dtr_exdatez.ics", 1, {"event_dtr_exdatez 2014-06-30 07:30..2014-06-30 12:01"});
        // Read as UTC, the zone named in a note; the UTC exception then names no occurrence.
        row("khal_event_dtr_no_tz_exdatez.ics", 1, {"Conf Call 2012-04-03 12:00..2012-04-03 12:30"}, "„LOLOLOL“ ist unbekannt");
        row("khal_tz_windows_format.ics", 1, {"Event with Windows TZ name 2019-11-20 13:00..2019-11-20 14:30"});
        row("khal_event_dt_recuid_no_master.ics", 1, {"Infrastructure Planning 2017-03-29 16:00..2017-03-29 16:25"});
        row("khal_without_uid.ics", 1, {"An Event 2014-04-09 00:00..2014-04-09 00:00 ganztägig"});
        row("deb_recurrence.ics", 2, {"A recurring event with exdates 1996-04-01 01:00..1996-04-01 02:00"});
        // The bad time leaves its event out, not the other calendars of the file; the replies
        // without a start are no appointments.
        row("libical_incoming.ics", 4, {"Conference 1997-07-01 12:00..1997-07-01 13:00"}, "ungültige Zeitangabe „19970701T10300Z“");
        row("deb_encoding.ics", 1, {"Non-ASCII Test: ÄÖÜ äöü € 2010-10-10 12:00..2010-10-10 14:00"});
        row("ci_bom_calendar.ics", 0);
        row("ci_broken_ical.ics", 1, {"An Event with too many semicolons 2014-04-09 09:30..2014-04-09 09:30"});
        row("ci_small_bad_calendar.ics", -1, {}, "unvollständig");
        row("ci_issue_104_broken_calendar.ics", -1, {}, "Zeile, die sich nicht lesen lässt");
        // The good series is read and the one with an empty EXDATE, which the standard does
        // not allow, left out, rather than refusing the whole file.
        row("ci_parsing_error.ics", 1, {"(ohne Betreff) 2008-03-03 00:00..2008-03-03 00:00 ganztägig"}, "ohne Betreff (Zeile 13): EXDATE ohne Wert");
        row("ci_issue_1050_multiple_calendars.ics", -1, {}, "„Event 2“ (Zeile 12): kein Beginn");
        row("ci_issue_218_bad_tzid.ics", 1, {"TESTIN 2017-02-28 13:00..2017-02-28 13:30"});
        row("ci_issue_1081_invalid_rrule_freq.ics", -1, {}, "ungültiger Wert in RRULE");
        row("ci_invalid_duration.ics", -1, {}, "ungültige Dauer");
        // A bare VEVENT is read as the calendar it stands for; its floating time is German time.
        row("khal_event_dt_floating.ics", 1, {"An Event 2014-04-09 09:30..2014-04-09 10:30"});
        row("gen_outlook_umlaut.ics", 4,
            {"Quartalsgespräch Überörtliche Prüfung der Außenstellen – Änderungen bei Größe und Maßnahmen für "
             "Jürgen Weiß & Söhne 2027-03-15 14:00..2027-03-15 15:30",
             "Messe Hannover (Mo–Fr) 2027-04-19 00:00..2027-04-23 00:00 ganztägig",
             "Ganztägig als Mitternacht-Mitternacht (Outlook-Stil) 2027-04-26 00:00..2027-04-26 00:00 ganztägig",
             "Frühstück, Raum 3; EG – „Begrüßung“ \\ Ölkännchen 2027-03-16 08:00..2027-03-16 08:30 Notiz"});
        row("gen_exchange_series.ics", 3, {"Call mit New York 10:00 EST/EDT 2027-03-01 16:00..2027-03-01 17:00"});
        row("gen_100_open_daily.ics", 100, {"Serie 0 2026-01-05 07:00..2026-01-05 07:30"});
        row("gen_huge_10000.ics", 10000, {"Termin Nr. 0 – Rücksprache Kunde Größe 0 2027-01-04 10:00..2027-01-04 10:30"});
        row("gen_huge_truncated.ics", -1, {}, "unvollständig");
    }

    // Catches a corpus file read other than its writer meant it, a harmless file refused, a
    // broken one half read, UIDs that change from one reading to the next (derived ones too)
    // and appointments that do not survive being written and read again.
    void corpus()
    {
        QFETCH(QString, file);
        QFETCH(int, count);
        QFETCH(QStringList, expected);
        QFETCH(QString, message);
        const QByteArray data = corpusFile(file);
        if (data.isEmpty() && file != QLatin1String("ci_bom_calendar.ics"))
            QSKIP("the calendar files of other programs are not beside this clone");
        if (count < 0) {
            try {
                readICalendar(data, kTeam, kDefaultParticipant);
                QFAIL("the file was read");
            } catch (const ICalendarError &error) {
                QVERIFY2(error.message().contains(message) && error.message().endsWith("Es wurde nichts importiert."),
                         qPrintable(error.message()));
            }
            return;
        }
        const ICalendarImport import = readICalendar(data, kTeam, kDefaultParticipant);
        const QStringList seen = titlesAndTimes(import);
        QCOMPARE(seen.size(), count);
        for (const QString &line : expected)
            QVERIFY2(seen.contains(line), qPrintable(seen.mid(0, 8).join('\n')));
        QVERIFY2(import.notes.join(' ').contains(message), qPrintable(import.notes.join(' ')));
        QCOMPARE(describe(readICalendar(data, kTeam, kDefaultParticipant)), describe(import));
        ICalendarImport back = readICalendar(writeBack(import), kTeam, kDefaultParticipant);
        back.notes = import.notes;
        QCOMPARE(describe(back), describe(import));
        QCOMPARE(titlesAndTimes(back), seen);
    }

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

    void fileContent_data()
    {
        QTest::addColumn<QByteArray>("ics");
        QTest::addColumn<QStringList>("expected");
        const QByteArray weekly = "BEGIN:VEVENT\nUID:w\nSUMMARY:Weekly\nDTSTART;TZID=Europe/Berlin:20270104T090000\n"
                                  "DTEND;TZID=Europe/Berlin:20270104T100000\nRRULE:FREQ=WEEKLY;COUNT=10\nEND:VEVENT\n";
        const QString series = "w 2027-01-04 09:00..2027-01-04 10:00 FREQ=WEEKLY;COUNT=10 +[] -[%1] P3";
        QTest::newRow("an empty RRULE line is no rule")
            << calendar("BEGIN:VEVENT\nUID:e\nDTSTART;VALUE=DATE:20270101\nRRULE:\nEND:VEVENT\n")
            << QStringList{"e 2027-01-01 00:00..2027-01-01 00:00  +[] -[] P3"};
        QTest::newRow("a cancelled occurrence is an exception")
            << calendar(weekly + "BEGIN:VEVENT\nUID:w\nRECURRENCE-ID;TZID=Europe/Berlin:20270111T090000\n"
                                 "DTSTART;TZID=Europe/Berlin:20270111T090000\nSTATUS:CANCELLED\nEND:VEVENT\n")
            << QStringList{series.arg("2027-01-11 09:00")};
        QTest::newRow("a cancelled series is removed with its changes")
            << calendar("BEGIN:VEVENT\nUID:w\nDTSTART:20270104T080000Z\nRRULE:FREQ=DAILY\nSTATUS:CANCELLED\n"
                        "END:VEVENT\nBEGIN:VEVENT\nUID:w\nRECURRENCE-ID:20270105T080000Z\n"
                        "DTSTART:20270105T100000Z\nEND:VEVENT\n")
            << QStringList{"removed w"};
        QTest::newRow("a cancelling method on an occurrence of a stored series")
            << calendar("METHOD:CANCEL\nBEGIN:VEVENT\nUID:w\nRECURRENCE-ID:20270712T070000Z\n"
                        "DTSTART:20270712T070000Z\nEND:VEVENT\n")
            << QStringList{"cancelled w@2027-07-12 09:00"};
        QTest::newRow("a changed occurrence without its series stands alone")
            << calendar("BEGIN:VEVENT\nUID:o\nRECURRENCE-ID;TZID=Europe/Berlin:20270111T090000\n"
                        "DTSTART;TZID=Europe/Berlin:20270112T090000\nEND:VEVENT\n")
            << QStringList{"o/2027-01-11T09:00:00 2027-01-12 09:00..2027-01-12 09:00  +[] -[] P3"};
        QByteArray older = weekly;
        older.replace("COUNT=10", "COUNT=3").replace("UID:w\n", "UID:w\nSEQUENCE:4\n");
        QByteArray newer = weekly;
        newer.replace("UID:w\n", "UID:w\nSEQUENCE:5\n");
        QTest::newRow("the revision of the higher sequence counts, wherever it stands")
            << calendar(newer + older) << QStringList{series.arg(QString())};
        QTest::newRow("of equal sequence the later revision counts")
            << calendar(older + QByteArray(weekly).replace("UID:w\n", "UID:w\nSEQUENCE:4\n"))
            << QStringList{series.arg(QString())};
        QTest::newRow("this and all following moved by an hour")
            << calendar(weekly + "BEGIN:VEVENT\nUID:w\nSUMMARY:Later\n"
                                 "RECURRENCE-ID;RANGE=THISANDFUTURE;TZID=Europe/Berlin:20270125T090000\n"
                                 "DTSTART;TZID=Europe/Berlin:20270125T100000\nDTEND;TZID=Europe/Berlin:20270125T110000\n"
                                 "END:VEVENT\n")
            << QStringList{"w 2027-01-04 09:00..2027-01-04 10:00 FREQ=WEEKLY;UNTIL=20270125T085959 +[] -[] P3",
                           "w/2027-01-25T09:00:00 2027-01-25 10:00..2027-01-25 11:00 FREQ=WEEKLY;COUNT=7 +[] -[] P3"};
        const QByteArray at10 = "DTSTART;TZID=%1:20270104T100000\nEND:VEVENT\n";
        QTest::newRow("a Windows zone name without its definition")
            << calendar("BEGIN:VEVENT\nUID:z\n" + QByteArray(at10).replace("%1", "GMT Standard Time"))
            << QStringList{"z 2027-01-04 11:00..2027-01-04 11:00  +[] -[] P3"};
        QTest::newRow("an offset as a zone name")
            << calendar("BEGIN:VEVENT\nUID:z\n" + QByteArray(at10).replace("%1", "\"UTC+05:30\""))
            << QStringList{"z 2027-01-04 05:30..2027-01-04 05:30  +[] -[] P3"};
        QTest::newRow("an unknown zone is UTC and named")
            << calendar("BEGIN:VEVENT\nUID:z\n" + QByteArray(at10).replace("%1", "Mars/Olympus"))
            << QStringList{"z 2027-01-04 11:00..2027-01-04 11:00  +[] -[] P3",
                           "note: Die Zeitzone „Mars/Olympus“ ist unbekannt; ihre Zeiten wurden als UTC gelesen."};
        QTest::newRow("a duration, empty text and leftover parser notes")
            << calendar("BEGIN:VEVENT\nUID:d\nLOCATION:\nDESCRIPTION:\nX-LIC-ERROR:No value for LOCATION property.\n"
                        "DTSTART:20270104T080000Z\nDURATION:PT1H30M\nEND:VEVENT\n")
            << QStringList{"d 2027-01-04 09:00..2027-01-04 10:30  +[] -[] P3"};
        QTest::newRow("unreadable events are left out and named with their line")
            << calendar("BEGIN:VEVENT\nUID:d\nDTSTART:20270104T080000Z\nEND:VEVENT\nBEGIN:VEVENT\nUID:f\n"
                        "SUMMARY:Betriebsfest\nDTSTART:20270104T080000Z\nDTEND:20270104T070000Z\nEND:VEVENT\n"
                        "BEGIN:VEVENT\nUID:t\nDTSTART:20271301T080000Z\nEND:VEVENT\n")
            << QStringList{"d 2027-01-04 09:00..2027-01-04 09:00  +[] -[] P3",
                           "note: 2 Termine übersprungen: „Betriebsfest“ (Zeile 8): Ende vor Beginn; mit der UID „t“ "
                           "(Zeile 14): ungültige Zeitangabe „20271301T080000Z“."};
        QTest::newRow("a meeting of the team, organizer first, names in any case")
            << calendar("BEGIN:VEVENT\nUID:m\nDTSTART:20270104T080000Z\nORGANIZER;CN=thomas müller:mailto:t@x\n"
                        "ATTENDEE;CN=Anna Becker:mailto:a@x\nATTENDEE;CN=Gast:mailto:g@x\nEND:VEVENT\n")
            << QStringList{"m 2027-01-04 09:00..2027-01-04 09:00  +[] -[] P2,1"};
    }

    // Catches cancellations, revisions, splits and meetings that reach the database other
    // than the file meant them: a cancelled occurrence imported, an older revision winning,
    // a meeting copied per participant.
    void fileContent()
    {
        QFETCH(QByteArray, ics);
        QFETCH(QStringList, expected);
        QCOMPARE(describe(readICalendar(ics, kTeam, kDefaultParticipant)), expected);
    }

    void textAsWritten_data()
    {
        QTest::addColumn<QByteArray>("ics");
        QTest::addColumn<QString>("summary");
        QTest::addColumn<QString>("note");
        const QByteArray event = "BEGIN:VEVENT\nUID:u\nDTSTART:20270104T080000Z\nSUMMARY:%1\nEND:VEVENT\n";
        QTest::newRow("Windows-1252") << calendar(QByteArray(event).replace("%1", "B\xfcro \x80 \x84gut\x93"))
                                      << QString("Büro € „gut“")
                                      << QString("Die Datei ist nicht in UTF-8 geschrieben; sie wurde als Windows-1252 gelesen.");
        QTest::newRow("BOM and a fold inside a character")
            << "\xEF\xBB\xBF" + calendar(QByteArray(event).replace("%1", "Gr\xC3\n \xB6\xC3\x9F\xE2\x82\n \xAC"))
            << QString("Größ€") << QString();
        QTest::newRow("escaped characters") << calendar(QByteArray(event).replace("%1", "a\\, b\\; c\\\\ d\\nzwei"))
                                            << QString("a, b; c\\ d\nzwei") << QString();
    }

    // Catches umlauts lost to a wrong encoding, a character broken by its fold or an escape
    // left in the text.
    void textAsWritten()
    {
        QFETCH(QByteArray, ics);
        QFETCH(QString, summary);
        QFETCH(QString, note);
        const ICalendarImport import = readICalendar(ics, kTeam, kDefaultParticipant);
        QCOMPARE(import.appointments.value(0).text, summary);
        QCOMPARE(import.notes, note.isEmpty() ? QStringList() : QStringList{note});
    }

    // Catches a cancelled reading that still returns appointments, and progress that never
    // reaches the end.
    void progressAndCancel()
    {
        const QByteArray data = corpusFile(QStringLiteral("gen_100_open_daily.ics"));
        if (data.isEmpty())
            QSKIP("the calendar files of other programs are not beside this clone");
        QList<int> seen;
        readICalendar(data, kTeam, kDefaultParticipant, [&](int done, int total) {
            seen.append(done);
            return total == 100;
        });
        QVERIFY(std::is_sorted(seen.cbegin(), seen.cend()));
        QCOMPARE(seen.last(), 100);
        QVERIFY_THROWS_EXCEPTION(ICalendarCancelled, readICalendar(data, kTeam, kDefaultParticipant,
                                                                   [](int done, int) { return done < 50; }));
    }

    // Catches an Outlook meeting that comes in once per participant or not as a meeting.
    void outlookMeeting()
    {
        const QByteArray data = corpusFile(QStringLiteral("gen_outlook_umlaut.ics"));
        if (data.isEmpty())
            QSKIP("the calendar files of other programs are not beside this clone");
        const ICalendarImport import = readICalendar(data, kTeam, kDefaultParticipant);
        const auto meeting = std::find_if(import.appointments.cbegin(), import.appointments.cend(),
                                          [](const Appointment &a) { return a.text.startsWith("Quartalsgespräch"); });
        QVERIFY(meeting != import.appointments.cend());
        QCOMPARE(meeting->participantIds, (QList<int>{1, 2}));
        QCOMPARE(meeting->participantId, 1);
        const QString written = QString::fromUtf8(writeBack(import)).remove(QStringLiteral("\r\n "));
        QCOMPARE(written.count(QStringLiteral("ORGANIZER;CN=Anna Becker:")), 1);
        QCOMPARE(written.count(QStringLiteral("ATTENDEE;CN=Thomas Müller:")), 1);
        const ICalendarImport back = readICalendar(writeBack(import), kTeam, kDefaultParticipant);
        QCOMPARE(describe(back), describe(import));
    }

    void exportOthersTake_data()
    {
        QTest::addColumn<QString>("summary");
        QTest::newRow("long umlaut summary") << QString("Überörtliche Prüfung der Außenstellen: Änderungen bei Größe, "
                                                        "Maßnahmen und Gebühren für Jürgen Weiß & Söhne, Öhringen");
        QTest::newRow("three-byte characters") << QString(40, QChar(0x20AC));
        QTest::newRow("four-byte characters") << QString("Termin ").repeated(3) + QString::fromUtf8("\xF0\x9F\x93\x85").repeated(30);
    }

    // Catches an export Outlook or Thunderbird refuse or garble: a line longer than 75 octets,
    // a fold inside a character, LF line ends, or a missing PRODID, DTSTAMP, UID or zone.
    void exportOthersTake()
    {
        QFETCH(QString, summary);
        Appointment a;
        a.uid = QStringLiteral("stabil-1");
        a.text = summary;
        a.start = Dayplex::Testing::day(2027, 3, 15) + Dayplex::Testing::hm(14, 0);
        a.end = a.start + Dayplex::Testing::hm(1, 30);
        const QByteArray ics = writeICalendar({a}, {}, QDateTime(QDate(2027, 1, 1), QTime(8, 0), Qt::UTC));
        QVERIFY(ics.endsWith("\r\n"));
        const QList<QByteArray> lines = ics.chopped(1).split('\n');
        for (const QByteArray &line : lines) {
            QVERIFY2(line.endsWith('\r') && line.size() - 1 <= 75, line.constData());
            QStringDecoder utf8(QStringDecoder::Utf8);
            const QString decoded = utf8.decode(line);
            QVERIFY2(!utf8.hasError(), line.constData());
        }
        for (const char *needed : {"PRODID:", "DTSTAMP:20270101T080000Z", "UID:stabil-1", "BEGIN:VTIMEZONE",
                                   "DTSTART;TZID=Europe/Berlin:20270315T140000"})
            QVERIFY2(lines.contains(QByteArray(needed) + '\r') || ics.contains(QByteArray("\r\n") + needed), needed);
        const ICalendarImport back = readICalendar(ics, kTeam, kDefaultParticipant);
        QCOMPARE(back.appointments.size(), 1);
        QCOMPARE(back.appointments.first().text, summary);
        QCOMPARE(back.appointments.first().uid, a.uid);
    }

    // Catches a series written as the host keeps it: UNTIL without UTC beside a TZID, which
    // other programs read an hour or two off, or local exceptions without their zone.
    void seriesAsWritten()
    {
        Appointment a;
        a.uid = QStringLiteral("s");
        a.start = Dayplex::Testing::day(2027, 7, 5) + Dayplex::Testing::hm(9, 0);
        a.end = a.start + Dayplex::Testing::hm(1, 0);
        a.rrule = QStringLiteral("FREQ=WEEKLY;UNTIL=20271231T090000;BYDAY=MO");
        a.exdates = {Dayplex::Testing::day(2027, 7, 12) + Dayplex::Testing::hm(9, 0)};
        Appointment changed = a;
        changed.rrule.clear();
        changed.exdates.clear();
        changed.recurrenceStart = Dayplex::Testing::day(2027, 7, 19) + Dayplex::Testing::hm(9, 0);
        const QString text = QString::fromUtf8(writeICalendar({a, changed}, {}, QDateTime::currentDateTimeUtc()));
        for (const QString &line : {QStringLiteral("RRULE:FREQ=WEEKLY;UNTIL=20271231T080000Z;BYDAY=MO\r\n"),
                                    QStringLiteral("EXDATE;TZID=Europe/Berlin:20270712T090000\r\n"),
                                    QStringLiteral("RECURRENCE-ID;TZID=Europe/Berlin:20270719T090000\r\n")})
            QVERIFY2(text.contains(line), qPrintable(text));
    }

    // Catches an export that writes a series once per occurrence, loses a changed occurrence
    // or writes it under a UID of its own, which other programs show as a second appointment.
    void exportCollectsSeries()
    {
        Appointment series;
        series.id = 7;
        series.uid = QStringLiteral("serie");
        series.rrule = QStringLiteral("FREQ=DAILY");
        Appointment occurrence = series, changed = series, single, gone;
        occurrence.rrule.clear();
        occurrence.seriesId = 7;
        changed.id = 9;
        changed.uid = QStringLiteral("eigene");
        changed.rrule.clear();
        changed.seriesId = 7;
        single.id = 3;
        single.uid = QStringLiteral("einzeln");
        gone.id = 11;
        gone.seriesId = 11;
        const auto seriesOf = [&](qint64 id) { return id == 7 ? std::optional<Appointment>(series) : std::nullopt; };
        QStringList written;
        for (const Appointment &a : appointmentsForExport({occurrence, single, changed, occurrence, gone, single, changed},
                                                          seriesOf))
            written.append(QStringLiteral("%1 %2 %3").arg(a.uid, a.rrule).arg(a.id));
        QCOMPARE(written, (QStringList{"serie FREQ=DAILY 7", "einzeln  3", "serie  9"}));
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
