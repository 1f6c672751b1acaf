// Calendar files in and out: a series stays one series with its exceptions and changed
// occurrences, a meeting stays one appointment of all who take part, and what another
// program wrote (Exchange, SabreDAV, Thunderbird, KOrganizer) reads and reaches the database
// as its users saw it, once however often it comes, and goes out and back in unchanged.
#include "../support/testing.h"
#include "icsfixture.h"

#include <QStringDecoder>

using namespace Terminplaner;
using namespace Terminplaner::Testing;

namespace {

constexpr int kDefaultParticipant = 3;
// The count of a refused file, and the occurrences of a file not taken into a database.
constexpr int kRefused = -1, kNotImported = -1, kOracle = -2;
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
        lines.append(QStringLiteral("%1 %2..%3 %4 +[%5] -[%6] P%7 %8")
                         .arg(a.uid, local(a.start), local(a.end), a.rrule, locals(a.rdates),
                              locals(a.exdates), ids.join(QLatin1Char(',')), a.text));
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

QByteArray writeBack(const ICalendarImport &import)
{
    QHash<int, QString> names;
    for (const Participant &p : kTeam)
        names.insert(p.id, p.name);
    return writeICalendar(import.appointments + import.overrides, names,
                          QDateTime(QDate(2026, 12, 1), QTime(8, 0), Qt::UTC));
}

// Lines other programs take: CRLF, at most 75 octets, no fold inside a character.
void checkLines(const QByteArray &ics)
{
    QVERIFY(ics.endsWith("\r\n"));
    for (const QByteArray &line : ics.chopped(1).split('\n')) {
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString decoded = utf8.decode(line);
        QVERIFY2(line.endsWith('\r') && line.size() - 1 <= 75 && !utf8.hasError(), line.constData());
    }
}

// The KOrganizer file's series: every 2 weeks on Tuesday and Thursday at 12:00 UTC, which is
// 14:00 in summer time; the winter dates of KOrganizer's own list come at 13:00 instead.
QString korganizerSeries()
{
    QStringList summer, winter;
    for (const QString &date : korganizerDates())
        if (date >= QLatin1String("2005-10-30"))
            summer.append(date + QStringLiteral(" 14:00")), winter.append(date + QStringLiteral(" 13:00"));
    return QStringLiteral("KOrganizer-1943919749.348 2005-05-20 14:00..2005-05-20 15:00 "
                          "FREQ=WEEKLY;COUNT=27;INTERVAL=2;BYDAY=TU,TH +[%1] -[%2] P3 Fr 20. Mai 2005, 14-15 Uhr, alle 2 Wochen am Di/Do, 27 Mal")
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
        QTest::addColumn<int>("count");            // series, single appointments and changed occurrences read
        QTest::addColumn<int>("shown");            // occurrences a view is handed from a new database
        QTest::addColumn<QStringList>("expected"); // some of titlesAndTimes(), describe() and the occurrences
        QTest::addColumn<QString>("message");      // part of a note, or of the refusal
        const auto row = [](const char *file, int count, int shown, const QStringList &expected = {}, const QString &message = {}) {
            QTest::newRow(file) << QString::fromLatin1(file) << count << shown << expected << message;
        };
        const auto refused = [&](const char *file, const QString &message) { row(file, kRefused, 0, {}, message); };
        row("rie_Germany.ics", 159, 159, {"2008-01-01..2008-01-01 Germany: New Years Day"});
        row("rie_Germany_Holidays.ics", 34, 34, {"Epiphany 2019-01-06 00:00..2019-01-06 00:00 ganztägig Notiz", "2019-01-06..2019-01-06 Epiphany"});
        // Exchange through Evolution: floating UNTIL, exception in UTC, leftover errors.
        row("rie_issue_27_t1.ics", 1, 2,
            {"3bbe38c205956551730fc9233525fe268296ec02 2020-04-26 14:00..2020-04-26 14:30 FREQ=DAILY;UNTIL=20200429T000000 "
             "+[] -[2020-04-27 14:00] P3 Reoccur", "2020-04-28 14:00-14:30 Reoccur"});
        // Over the autumn change; the cancelled breakfast is no appointment.
        row("thunderbird-oktober-2026.ics", 3, 3, {"Rufbereitschaft Zeitumstellung 2026-10-25 01:30..2026-10-25 03:30"});
        row("rie_daylight_saving_time.ics", 64, kOracle, {"\"Bioökonomie-Tag\" 2019-02-28 20:00..2019-02-28 21:00"});
        row("ci_alarm_google_future.ics", 1, kNotImported, {"event with alarms 2024-10-04 20:15..2024-10-04 21:00"});
        // Thunderbird: three moved occurrences.
        row("rie_recurring_events_moved.ics", 5, 7,
            {"5d4c6843-9300-4f91-8d88-6094d4b0b840 2019-03-18 04:00..2019-03-18 05:00 FREQ=DAILY;UNTIL=20190320T040000 +[] -[] P3 test7",
             "a0c78729-30b1-4ba3-a86e-6aedd995d788 2019-03-07 02:00..2019-03-07 03:00 FREQ=DAILY;UNTIL=20190310T020000 +[] -[] P3 New Event",
             "5d4c6843-9300-4f91-8d88-6094d4b0b840@2019-03-19 04:00 2019-03-19 04:00..2019-03-19 05:00 test7 - edited",
             "a0c78729-30b1-4ba3-a86e-6aedd995d788@2019-03-08 02:00 2019-03-08 01:00..2019-03-08 02:00 New Event",
             "a0c78729-30b1-4ba3-a86e-6aedd995d788@2019-03-09 02:00 2019-03-09 03:00..2019-03-09 04:00 New Event",
             "2019-03-19 04:00-05:00 test7 - edited", "2019-03-08 01:00-02:00 New Event", "2019-03-09 03:00-04:00 New Event"});
        // SabreDAV: weekly with an exception in UTC.
        row("rie_each_week_but_one_deleted.ics", 1, 7,
            {"SX2CURHKFTKKFFU3VUD7K 2019-03-04 00:30..2019-03-04 01:00 FREQ=WEEKLY;COUNT=8 +[] -[2019-03-11 00:30] P3 test6",
             "2019-03-04 00:30-01:00 test6", "2019-04-15 00:30-01:00 test6"});
        // The standard wants an end after the start: the only event is left out, so the file
        // holds nothing readable and is refused, one of the two outcomes expected of it.
        refused("rie_end_before_start_event.ics", "„test1“ (Zeile 25): Ende vor Beginn");
        row("rie_discourse_no_dtend.ics", 4, kNotImported, {"2019-01-17 openLab 2019-01-17 18:00..2019-01-17 18:00"});
        row("rie_issue_163_deleted_modification.ics", 2, 76, {"2024-07-29..2024-08-04 test123"});
        // KOrganizer names its organizer, who is nobody of the team; a UTC series across the autumn change.
        row("kde_KOrganizer_Test01.ics", 1, kNotImported, {korganizerSeries()});
        // khal: duration, exception and UNTIL in UTC.
        row("khal_event_dtr_exdatez.ics", 1, 3,
            {"event_dtr_exdatez 2014-06-30 07:30..2014-06-30 12:01 FREQ=WEEKLY;UNTIL=20140725T073000 +[] -[2014-07-21 07:30] P3 event_dtr_exdatez",
             "2014-06-30 07:30-12:01 event_dtr_exdatez", "2014-07-07 07:30-12:01 event_dtr_exdatez",
             "2014-07-14 07:30-12:01 event_dtr_exdatez"});
        // Read as UTC, the zone named in a note; the UTC exception then names no occurrence.
        row("khal_event_dtr_no_tz_exdatez.ics", 1, kNotImported, {"Conf Call 2012-04-03 12:00..2012-04-03 12:30"}, "„LOLOLOL“ ist unbekannt");
        row("khal_tz_windows_format.ics", 1, kNotImported, {"Event with Windows TZ name 2019-11-20 13:00..2019-11-20 14:30"});
        row("khal_event_dt_recuid_no_master.ics", 1, kNotImported, {"Infrastructure Planning 2017-03-29 16:00..2017-03-29 16:25"});
        row("khal_without_uid.ics", 1, kNotImported, {"An Event 2014-04-09 00:00..2014-04-09 00:00 ganztägig"});
        row("deb_recurrence.ics", 2, kNotImported, {"A recurring event with exdates 1996-04-01 01:00..1996-04-01 02:00"});
        // The bad time leaves its event out, not the other calendars of the file; the replies
        // without a start are no appointments.
        row("libical_incoming.ics", 4, kNotImported, {"Conference 1997-07-01 12:00..1997-07-01 13:00"}, "ungültige Zeitangabe „19970701T10300Z“");
        row("deb_encoding.ics", 1, 1, {"2010-10-10 12:00-14:00 Non-ASCII Test: ÄÖÜ äöü €"});
        row("ci_bom_calendar.ics", 0, kNotImported);
        row("ci_broken_ical.ics", 1, kNotImported, {"An Event with too many semicolons 2014-04-09 09:30..2014-04-09 09:30"});
        refused("ci_small_bad_calendar.ics", "unvollständig");
        refused("ci_issue_104_broken_calendar.ics", "Zeile, die sich nicht lesen lässt");
        // The good series is read and the one with an empty EXDATE, which the standard does
        // not allow, left out, rather than refusing the whole file.
        row("ci_parsing_error.ics", 1, kNotImported, {"(ohne Betreff) 2008-03-03 00:00..2008-03-03 00:00 ganztägig"},
            "ohne Betreff (Zeile 13): EXDATE ohne Wert");
        refused("ci_issue_1050_multiple_calendars.ics", "„Event 2“ (Zeile 12): kein Beginn");
        row("ci_issue_218_bad_tzid.ics", 1, kNotImported, {"TESTIN 2017-02-28 13:00..2017-02-28 13:30"});
        refused("ci_issue_1081_invalid_rrule_freq.ics", "ungültiger Wert in RRULE");
        refused("ci_invalid_duration.ics", "ungültige Dauer");
        // A bare VEVENT is read as the calendar it stands for; its floating time is German time.
        row("khal_event_dt_floating.ics", 1, kNotImported, {"An Event 2014-04-09 09:30..2014-04-09 10:30"});
        // The meeting of two is one appointment, organizer first, and handed out once.
        row("gen_outlook_umlaut.ics", 4, 4,
            {"040000008200E00074C5B7101A82E00800000000A1B2C3D4E5F6@gen 2027-03-15 14:00..2027-03-15 15:30  +[] -[] P1,2 "
             "Quartalsgespräch Überörtliche Prüfung der Außenstellen – Änderungen bei Größe und Maßnahmen für Jürgen Weiß & Söhne",
             "2027-04-19..2027-04-23 Messe Hannover (Mo–Fr)",
             "2027-04-26..2027-04-26 Ganztägig als Mitternacht-Mitternacht (Outlook-Stil)",
             "Frühstück, Raum 3; EG – „Begrüßung“ \\ Ölkännchen 2027-03-16 08:00..2027-03-16 08:30 Notiz"});
        // Exchange: exception in UTC, moved occurrence, a New York series across both clock changes.
        row("gen_exchange_series.ics", 3, 11,
            {"exch-series-1@gen 2027-10-11 09:00..2027-10-11 10:00 FREQ=WEEKLY;UNTIL=20271115T090000;BYDAY=MO +[] -[2027-10-25 09:00] P3 Jour fixe Vertrieb",
             "ny-series@gen 2027-03-01 16:00..2027-03-01 17:00 FREQ=WEEKLY;COUNT=6 +[2027-03-15 15:00,2027-03-22 15:00] "
             "-[2027-03-15 16:00,2027-03-22 16:00] P3 Call mit New York 10:00 EST/EDT",
             "exch-series-1@gen@2027-11-08 09:00 2027-11-09 14:00..2027-11-09 15:00 Jour fixe Vertrieb (verschoben auf Dienstag)",
             "2027-10-11 09:00-10:00 Jour fixe Vertrieb", "2027-11-09 14:00-15:00 Jour fixe Vertrieb (verschoben auf Dienstag)",
             "2027-11-15 09:00-10:00 Jour fixe Vertrieb", "2027-03-15 15:00-16:00 Call mit New York 10:00 EST/EDT",
             "2027-04-05 16:00-17:00 Call mit New York 10:00 EST/EDT"});
        // No horizon: every day from 5.1.2026 to the end of the range, 1069 days each.
        row("gen_100_open_daily.ics", 100, 106900, {"Serie 0 2026-01-05 07:00..2026-01-05 07:30", "2028-12-08 16:00-16:30 Serie 99"});
        row("gen_huge_10000.ics", 10000, kNotImported, {"Termin Nr. 0 – Rücksprache Kunde Größe 0 2027-01-04 10:00..2027-01-04 10:30"});
        refused("gen_huge_truncated.ics", "unvollständig");
    }

    // Catches a corpus file read other than its writer meant it (exceptions and changed
    // occurrences lost, UNTIL or exceptions converted from UTC wrongly, another zone's series
    // at one local time across clock changes), a harmless file refused, a broken one half read
    // or half written, UIDs that change from one reading to the next; occurrences that reach the
    // database other than the file means them, a second import that writes or counts anything
    // as changed, and an export that another database or this one reads back differently,
    // doubled or not at all.
    void corpus()
    {
        QFETCH(QString, file);
        QFETCH(int, count);
        QFETCH(int, shown);
        QFETCH(QStringList, expected);
        QFETCH(QString, message);
        // The tests' own sample first, then the files of other programs.
        const QString sample = QStringLiteral(TERMINPLANER_ICS_DIR "/") + file;
        const QString path = QFile::exists(sample) ? sample : corpusPath(file);
        QFile data(path);
        if (!data.open(QIODevice::ReadOnly))
            QSKIP("the calendar files of other programs are not beside this clone");
        Database db;
        openEmpty(db, m_dir.filePath(file + ".sqlite"));
        if (count == kRefused) {
            try {
                importICalendar(db, path, kDefaultParticipant);
                QFAIL("the file was read");
            } catch (const ICalendarError &error) {
                QVERIFY2(error.message().startsWith("Die Datei ist keine gültige iCalendar-Datei") && error.message().contains(message)
                             && error.message().endsWith("Es wurde nichts importiert."),
                         qPrintable(error.message()));
            }
            QCOMPARE(db.appointmentCount(), 0);
            return;
        }
        const QByteArray content = data.readAll();
        const ICalendarImport import = readICalendar(content, kTeam, kDefaultParticipant);
        QStringList seen = titlesAndTimes(import);
        QCOMPARE(seen.size(), count);
        QVERIFY2(import.notes.join(' ').contains(message), qPrintable(import.notes.join(' ')));
        QCOMPARE(describe(readICalendar(content, kTeam, kDefaultParticipant)), describe(import));
        const QByteArray written = writeBack(import);
        checkLines(written);
        ICalendarImport back = readICalendar(written, kTeam, kDefaultParticipant);
        // What the reader noted and the removals it found are no appointments to write.
        back.notes = import.notes, back.removedUids = import.removedUids;
        QCOMPARE(describe(back), describe(import));
        QCOMPARE(titlesAndTimes(back), seen);
        seen += describe(import);
        if (shown != kNotImported) {
            const ExchangeResult first = importICalendar(db, path, kDefaultParticipant);
            const QStringList handed = occurrences(db);
            if (shown == kOracle) {
                QStringList starts;
                for (const QString &line : handed)
                    starts.append(line.left(16).replace(QLatin1String(".."), QLatin1String(" 00:00")).left(16));
                starts.sort();
                if (!oracleInstalled())
                    QSKIP("python3-recurring-ical-events is not installed");
                QCOMPARE(starts, oracleStarts(path));
            } else {
                QCOMPARE(handed.size(), shown);
            }
            QCOMPARE(counted(first.count), QStringLiteral("%1 0 0 0").arg(first.count.added));
            QCOMPARE(counted(importICalendar(db, path, kDefaultParticipant).count), QStringLiteral("0 0 %1 0").arg(first.count.added));
            QCOMPARE(occurrences(db), handed);
            const QString exported = m_dir.filePath(file + ".out.ics");
            exportICalendar(db, exported, kFrom, kTo, {});
            Database other;
            openEmpty(other, m_dir.filePath(file + ".other.sqlite"));
            QCOMPARE(importICalendar(other, exported, kDefaultParticipant).count.added, first.count.added);
            QCOMPARE(occurrences(other), handed);
            // This program's own export back into the database it came from: nothing doubled.
            QCOMPARE(importICalendar(db, exported, kDefaultParticipant).count.added, 0);
            QCOMPARE(occurrences(db), handed);
            seen += handed;
        }
        for (const QString &line : expected)
            QVERIFY2(seen.contains(line), qPrintable(line + "\n\n" + seen.mid(0, 12).join('\n')));
    }

    void fileContent_data()
    {
        QTest::addColumn<QByteArray>("ics");
        QTest::addColumn<QStringList>("expected");
        const QByteArray weekly = "BEGIN:VEVENT\nUID:w\nSUMMARY:Weekly\nDTSTART;TZID=Europe/Berlin:20270104T090000\n"
                                  "DTEND;TZID=Europe/Berlin:20270104T100000\nRRULE:FREQ=WEEKLY;COUNT=10\nEND:VEVENT\n";
        const QString series = "w 2027-01-04 09:00..2027-01-04 10:00 FREQ=WEEKLY;COUNT=10 +[] -[%1] P3 Weekly";
        QTest::newRow("an empty RRULE line is no rule")
            << calendar("BEGIN:VEVENT\nUID:e\nDTSTART;VALUE=DATE:20270101\nRRULE:\nEND:VEVENT\n")
            << QStringList{"e 2027-01-01 00:00..2027-01-01 00:00  +[] -[] P3 (ohne Betreff)"};
        QTest::newRow("a cancelled occurrence is an exception")
            << calendar(weekly + "BEGIN:VEVENT\nUID:w\nRECURRENCE-ID;TZID=Europe/Berlin:20270111T090000\n"
                                 "DTSTART;TZID=Europe/Berlin:20270111T090000\nSTATUS:CANCELLED\nEND:VEVENT\n")
            << QStringList{series.arg("2027-01-11 09:00")};
        QTest::newRow("a cancelled series is removed with its changes")
            << calendar("BEGIN:VEVENT\nUID:w\nDTSTART:20270104T080000Z\nRRULE:FREQ=DAILY\nSTATUS:CANCELLED\n"
                        "END:VEVENT\nBEGIN:VEVENT\nUID:w\nRECURRENCE-ID:20270105T080000Z\n"
                        "DTSTART:20270105T100000Z\nEND:VEVENT\n")
            << QStringList{"removed w"};
        QTest::newRow("a changed occurrence without its series stands alone")
            << calendar("BEGIN:VEVENT\nUID:o\nRECURRENCE-ID;TZID=Europe/Berlin:20270111T090000\n"
                        "DTSTART;TZID=Europe/Berlin:20270112T090000\nEND:VEVENT\n")
            << QStringList{"o/2027-01-11T09:00:00 2027-01-12 09:00..2027-01-12 09:00  +[] -[] P3 (ohne Betreff)"};
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
            << QStringList{"w 2027-01-04 09:00..2027-01-04 10:00 FREQ=WEEKLY;UNTIL=20270125T085959 +[] -[] P3 Weekly",
                           "w/2027-01-25T09:00:00 2027-01-25 10:00..2027-01-25 11:00 FREQ=WEEKLY;COUNT=7 +[] -[] P3 Later"};
        const QByteArray at10 = "DTSTART;TZID=%1:20270104T100000\nEND:VEVENT\n";
        QTest::newRow("a Windows zone name without its definition")
            << calendar("BEGIN:VEVENT\nUID:z\n" + QByteArray(at10).replace("%1", "GMT Standard Time"))
            << QStringList{"z 2027-01-04 11:00..2027-01-04 11:00  +[] -[] P3 (ohne Betreff)"};
        QTest::newRow("an offset as a zone name")
            << calendar("BEGIN:VEVENT\nUID:z\n" + QByteArray(at10).replace("%1", "\"UTC+05:30\""))
            << QStringList{"z 2027-01-04 05:30..2027-01-04 05:30  +[] -[] P3 (ohne Betreff)"};
        QTest::newRow("a duration, empty text and leftover parser notes")
            << calendar("BEGIN:VEVENT\nUID:d\nLOCATION:\nDESCRIPTION:\nX-LIC-ERROR:No value for LOCATION property.\n"
                        "DTSTART:20270104T080000Z\nDURATION:PT1H30M\nEND:VEVENT\n")
            << QStringList{"d 2027-01-04 09:00..2027-01-04 10:30  +[] -[] P3 (ohne Betreff)"};
        QTest::newRow("unreadable events are left out and named with their line")
            << calendar("BEGIN:VEVENT\nUID:d\nDTSTART:20270104T080000Z\nEND:VEVENT\nBEGIN:VEVENT\nUID:f\n"
                        "SUMMARY:Betriebsfest\nDTSTART:20270104T080000Z\nDTEND:20270104T070000Z\nEND:VEVENT\n"
                        "BEGIN:VEVENT\nUID:t\nDTSTART:20271301T080000Z\nEND:VEVENT\n")
            << QStringList{"d 2027-01-04 09:00..2027-01-04 09:00  +[] -[] P3 (ohne Betreff)",
                           "note: 2 Termine übersprungen: „Betriebsfest“ (Zeile 8): Ende vor Beginn; mit der UID „t“ "
                           "(Zeile 14): ungültige Zeitangabe „20271301T080000Z“."};
        QTest::newRow("a meeting of the team, organizer first, names in any case")
            << calendar("BEGIN:VEVENT\nUID:m\nDTSTART:20270104T080000Z\nORGANIZER;CN=thomas müller:mailto:t@x\n"
                        "ATTENDEE;CN=Anna Becker:mailto:a@x\nATTENDEE;CN=Gast:mailto:g@x\nEND:VEVENT\n")
            << QStringList{"m 2027-01-04 09:00..2027-01-04 09:00  +[] -[] P2,1 (ohne Betreff)"};
        const QByteArray event = "BEGIN:VEVENT\nUID:u\nDTSTART:20270104T080000Z\nSUMMARY:%1\nEND:VEVENT\n";
        const QString u = QStringLiteral("u 2027-01-04 09:00..2027-01-04 09:00  +[] -[] P3 ");
        QTest::newRow("Windows-1252")
            << calendar(QByteArray(event).replace("%1", "B\xfcro \x80 \x84gut\x93"))
            << QStringList{u + "Büro € „gut“", "note: Die Datei ist nicht in UTF-8 geschrieben; sie wurde als Windows-1252 gelesen."};
        QTest::newRow("BOM and a fold inside a character")
            << "\xEF\xBB\xBF" + calendar(QByteArray(event).replace("%1", "Gr\xC3\n \xB6\xC3\x9F\xE2\x82\n \xAC"))
            << QStringList{u + "Größ€"};
        QTest::newRow("escaped characters")
            << calendar(QByteArray(event).replace("%1", "a\\, b\\; c\\\\ d\\nzwei")) << QStringList{u + "a, b; c\\ d\nzwei"};
    }

    // Catches cancellations, revisions, splits and meetings that reach the database other
    // than the file meant them: a cancelled occurrence imported, an older revision winning,
    // a meeting copied per participant; umlauts lost to a wrong encoding, a character broken
    // by its fold or an escape left in the text.
    void fileContent()
    {
        QFETCH(QByteArray, ics);
        QFETCH(QStringList, expected);
        QCOMPARE(describe(readICalendar(ics, kTeam, kDefaultParticipant)), expected);
    }

    // Catches an export Outlook or Thunderbird refuse or garble: a fold inside a character of
    // three or four octets, a missing PRODID, DTSTAMP, UID or zone; a series written as the host
    // keeps it: UNTIL without UTC beside a TZID, which other programs read an hour or two off, or
    // local exceptions without their zone; and a meeting written once per participant or not as
    // a meeting.
    void seriesAsWritten()
    {
        using Dayplex::Testing::day, Dayplex::Testing::hm;
        Appointment a;
        a.uid = QStringLiteral("s");
        a.text = QString(40, QChar(0x20AC)) + QString::fromUtf8("\xF0\x9F\x93\x85").repeated(30);
        a.start = day(2027, 7, 5) + hm(9, 0);
        a.end = a.start + hm(1, 0);
        a.rrule = QStringLiteral("FREQ=WEEKLY;UNTIL=20271231T090000;BYDAY=MO");
        a.exdates = {day(2027, 7, 12) + hm(9, 0)};
        Appointment changed = a;
        changed.rrule.clear();
        changed.exdates.clear();
        changed.recurrenceStart = day(2027, 7, 19) + hm(9, 0);
        a.participantIds = {1, 2};
        const QByteArray ics = writeICalendar({a, changed}, {{1, "Anna Becker"}, {2, "Thomas Müller"}},
                                              QDateTime(QDate(2027, 1, 1), QTime(8, 0), Qt::UTC));
        checkLines(ics);
        const QString text = QString::fromUtf8(ics).remove(QStringLiteral("\r\n "));
        for (const char *line : {"PRODID:", "BEGIN:VTIMEZONE", "RRULE:FREQ=WEEKLY;UNTIL=20271231T080000Z;BYDAY=MO\r\n",
                                 "EXDATE;TZID=Europe/Berlin:20270712T090000\r\n", "RECURRENCE-ID;TZID=Europe/Berlin:20270719T090000\r\n",
                                 "ORGANIZER;CN=Anna Becker:", "ATTENDEE;CN=Thomas Müller:"})
            QVERIFY2(text.count(QString::fromUtf8(line)) == 1, line);
        QCOMPARE(text.count("DTSTAMP:20270101T080000Z\r\n"), 2);
        QCOMPARE(text.count("UID:s\r\n"), 2);
        QCOMPARE(readICalendar(ics, kTeam, kDefaultParticipant).appointments.value(0).text, a.text);
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

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(tst_ICalendar)
#include "test_icalendar.moc"
