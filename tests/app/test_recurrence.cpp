// The Terminplaner's series: expansion for a range in Berlin wall-clock time, checked against
// KOrganizer's dates, against libical and against python3-recurring-ical-events; the form's
// rules as RRULE text and German words; bad rules and far ranges.
#include "../support/testing.h"
#include "icsfixture.h"
#include "recurrence.h"

#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cmath>

using namespace Terminplaner;
using Dayplex::Date;
using Testing::table;

namespace {

// "2027-03-28 02:30" as written, never through a zone; a bare date is midnight.
Date at(const QString &text)
{
    const QTime time = text.size() > 10 ? QTime::fromString(text.mid(11), QStringLiteral("hh:mm")) : QTime(0, 0);
    return Dayplex::toDate(QDate::fromString(text.left(10), Qt::ISODate)) + time.msecsSinceStartOfDay() / 86400000.0;
}

QList<Date> dates(const QString &list)
{
    QList<Date> values;
    for (const QString &text : list.split(QStringLiteral(", "), Qt::SkipEmptyParts))
        values.append(at(text));
    return values;
}

QString text(const QVector<Date> &values)
{
    QStringList list;
    for (Date value : values)
        list.append(Dayplex::toQDate(value).toString(Qt::ISODate) + QLatin1Char(' ')
                    + Dayplex::toQTime(value).toString(QStringLiteral("hh:mm")));
    return list.join(QStringLiteral(", "));
}

SeriesPattern pattern(const QString &rrule, const QString &start, double hours = 1,
                      const QString &exdates = {}, const QString &rdates = {})
{
    return {at(start), hours / 24, false, rrule, dates(rdates), dates(exdates)};
}


} // namespace

class tst_Recurrence : public QObject
{
    Q_OBJECT

private slots:
    void expansion_data();
    void expansion();
    void korganizerDates();
    void directAgreesWithLibical();
    void oracle_data();
    void oracle();
    void ruleText_data();
    void ruleText();
    void refusals_data();
    void refusals();
    void lastEnd_data();
    void lastEnd();
    void firstStart_data();
    void firstStart();
};

// Catches a wrong gap move, a lost window edge, a wrong jump ahead or a wrong end of a rule.
void tst_Recurrence::expansion_data()
{
    table({"rrule", "start", "exdates", "window", "hours", "expected"}, {
        "weekly 09:00 into summer time|FREQ=WEEKLY|2027-03-22 09:00||2027-03-22 2027-04-06|1|2027-03-22 09:00, 2027-03-29 09:00, 2027-04-05 09:00",
        "weekly 09:00 into winter time|FREQ=WEEKLY|2027-03-22 09:00||2027-10-25 2027-11-02|1|2027-10-25 09:00, 2027-11-01 09:00",
        "daily 02:30 moves by the spring gap|FREQ=DAILY|2027-03-26 02:30||2027-03-27 2027-03-30|1|2027-03-27 02:30, 2027-03-28 03:30, 2027-03-29 02:30",
        "the moved start taken out|FREQ=DAILY|2027-03-26 02:30|2027-03-28 03:30|2027-03-28 2027-03-29|1|",
        "the written start taken out|FREQ=DAILY|2027-03-26 02:30|2027-03-28 02:30|2027-03-28 2027-03-29|1|",
        "the repeated autumn hour stays|FREQ=DAILY|2027-10-30 02:30||2027-10-30 2027-11-01|1|2027-10-30 02:30, 2027-10-31 02:30",
        "spring gap beyond the zone table|FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU|2027-03-28 02:15||2300-03-01 2300-04-01|1|2300-03-25 03:15",
        "an occurrence ending at from does not touch|FREQ=DAILY|2027-01-01 09:00||2027-01-02 10:00 2027-01-03 09:00|1|",
        "one reaching over from touches|FREQ=DAILY|2027-01-01 09:00||2027-01-02 09:59 2027-01-03 09:00|1|2027-01-02 09:00",
        "zero length at from counts, at to not|FREQ=DAILY|2027-01-01 09:00||2027-01-02 09:00 2027-01-03 09:00|0|2027-01-02 09:00",
        "stand-up since 2022 asked for a week of 2030|FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR|2022-01-03 09:15||2030-01-07 2030-01-12|0.25|2030-01-07 09:15, 2030-01-08 09:15, 2030-01-09 09:15, 2030-01-10 09:15, 2030-01-11 09:15",
        "two-weekly since 2005 asked for 2030|FREQ=WEEKLY;INTERVAL=2;BYDAY=TU,TH|2005-05-20 14:00||2030-01-07 2030-01-21|1|2030-01-08 14:00, 2030-01-10 14:00",
        "two-weekly weeks start on Monday|FREQ=WEEKLY;INTERVAL=2;BYDAY=SU|2025-09-13 20:45||2025-09-13 2025-09-29|1|2025-09-13 20:45, 2025-09-14 20:45, 2025-09-28 20:45",
        "endless yearly asked for 9999|FREQ=YEARLY;BYMONTH=11;BYDAY=4TH|2024-11-28 18:00||9999-11-01 9999-12-01|3|9999-11-25 18:00",
        "huge COUNT asked for 9999|FREQ=DAILY;COUNT=2000000000|2024-01-01 08:00||9999-12-30 9999-12-31|1|9999-12-30 08:00",
        "COUNT ends after its last|FREQ=WEEKLY;BYDAY=MO,FR;COUNT=3|2027-01-06 10:00||2027-01-01 2027-02-01|1|2027-01-06 10:00, 2027-01-08 10:00, 2027-01-11 10:00, 2027-01-15 10:00",
        "UNTIL as a date holds its whole day|FREQ=DAILY;UNTIL=20270103|2027-01-01 23:00||2027-01-01 2027-01-10|1|2027-01-01 23:00, 2027-01-02 23:00, 2027-01-03 23:00",
        "UNTIL with a time is local|FREQ=DAILY;UNTIL=20270103T080000|2027-01-01 09:00||2027-01-01 2027-01-10|1|2027-01-01 09:00, 2027-01-02 09:00",
        "UNTIL in UTC becomes Berlin time|FREQ=DAILY;UNTIL=20270103T083000Z|2027-01-01 09:00||2027-01-01 2027-01-10|1|2027-01-01 09:00, 2027-01-02 09:00, 2027-01-03 09:00",
        "the 31st skips short months|FREQ=MONTHLY|2027-01-31 12:00||2027-01-01 2027-06-01|1|2027-01-31 12:00, 2027-03-31 12:00, 2027-05-31 12:00",
        "a fifth Friday skips months|FREQ=MONTHLY;BYDAY=5FR;COUNT=3|2027-01-29 12:00||2027-01-01 2028-01-01|1|2027-01-29 12:00, 2027-04-30 12:00, 2027-07-30 12:00",
        "an hourly rule through libical|FREQ=HOURLY;INTERVAL=5|2027-01-01 09:00||2027-01-03 00:00 2027-01-03 12:00|1|2027-01-03 01:00, 2027-01-03 06:00, 2027-01-03 11:00",
        "only the start without a rule||2027-01-01 09:00||2027-01-01 2027-01-02|1|2027-01-01 09:00",
    });
}

void tst_Recurrence::expansion()
{
    QFETCH(QString, rrule);
    QFETCH(QString, start);
    QFETCH(QString, exdates);
    QFETCH(QString, window);
    QFETCH(QString, hours);
    QFETCH(QString, expected);
    const QStringList range = window.split(QLatin1Char(' '));
    const SeriesPattern series = pattern(rrule, start, hours.toDouble(), exdates);
    const Date from = at(range.size() == 4 ? range[0] + ' ' + range[1] : range[0]);
    const Date to = at(range.size() == 4 ? range[2] + ' ' + range[3] : range[1]);
    const QVector<Date> starts = occurrenceStarts(series, from, to);
    QCOMPARE(text(starts), expected);
    for (Date value : starts)
        QVERIFY(isOccurrence(series, value + 0.5 * Dayplex::kOneSecond));
}

// Catches a wrong phase of a two-weekly rule whose start lies outside it, against KOrganizer
// 3.4's 27 dates. The series is kept in wall-clock time, so it stays at 14:00 in winter as well
// (the file anchors it in UTC, which gives 13:00); the start itself is an occurrence too.
void tst_Recurrence::korganizerDates()
{
    QStringList expected = Testing::korganizerDates();
    if (expected.isEmpty())
        QSKIP("the shared calendar files are not there");
    expected.prepend(QStringLiteral("2005-05-20"));
    QCOMPARE(expected.size(), 28);
    const SeriesPattern series = pattern(QStringLiteral("FREQ=WEEKLY;COUNT=27;INTERVAL=2;BYDAY=TU,TH"),
                                         QStringLiteral("2005-05-20 14:00"));
    QCOMPARE(text(occurrenceStarts(series, at("2005-01-01"), at("2007-01-01"))), expected.join(" 14:00, ") + " 14:00");
    QCOMPARE(seriesLastEnd(series), at("2005-11-29 15:00"));
}

// Catches any difference between the direct counting of the form's rules and libical's
// expansion of the same rule (a BYSECOND=0 that changes nothing takes it beyond the form):
// seeded random rules, starts and windows.
void tst_Recurrence::directAgreesWithLibical()
{
    QRandomGenerator random(20270328);
    const int ordinals[] = {1, 2, 3, 4, 5, -1};
    for (int i = 0; i < 400; ++i) {
        RecurrenceRule rule;
        rule.frequency = RecurrenceRule::Frequency(random.bounded(4));
        rule.interval = 1 + random.bounded(3);
        const int weekday = 1 + random.bounded(7);
        if (rule.frequency == RecurrenceRule::Frequency::Weekly)
            for (int day = 1; day <= 7; ++day)
                if (random.bounded(3) == 0)
                    rule.weekdays.append(day);
        if (rule.frequency >= RecurrenceRule::Frequency::Monthly && random.bounded(3) > 0) {
            rule.month = rule.frequency == RecurrenceRule::Frequency::Yearly ? 1 + random.bounded(12) : 0;
            if (random.bounded(2) == 0)
                rule.monthDay = 1 + random.bounded(31);
            else
                rule.weekdays = {weekday}, rule.weekdayOrdinal = ordinals[random.bounded(6)];
        }
        Date start = at("2024-01-01") + random.bounded(800) + random.bounded(96) / 96.0;
        // libical 3.0 counts the weeks of a two-weekly rule from Sunday, whatever WKST says
        // (python-dateutil and the direct count start them on Monday): no Sundays there.
        if (rule.frequency == RecurrenceRule::Frequency::Weekly && rule.interval > 1) {
            rule.weekdays.removeAll(Qt::Sunday);
            start += Dayplex::weekdayNumber(start) == 1;
        }
        if (random.bounded(3) == 0)
            rule.count = 1 + random.bounded(40);
        else if (random.bounded(2) == 0)
            rule.until = Dayplex::toQDate(start + random.bounded(2000));
        const SeriesPattern series{start, 1.0 / 24, false, rule.toRRule(), {}, {}};
        const SeriesPattern byLibical{start, 1.0 / 24, false, rule.toRRule() + ";BYSECOND=0", {}, {}};
        const Date from = start - 30 + random.bounded(3000);
        const Date to = from + 1 + random.bounded(200);
        QCOMPARE(text(occurrenceStarts(series, from, to)), text(occurrenceStarts(byLibical, from, to)));
        QCOMPARE(seriesLastEnd(series), seriesLastEnd(byLibical));
    }
}

// Catches a wrong reading of the rules a calendar file brings, against an independent
// implementation: python3-recurring-ical-events on a file in Europe/Berlin.
void tst_Recurrence::oracle_data()
{
    table({"rrule", "start", "exdates", "rdates", "from", "to"}, {
        "monthly BYSETPOS last weekday|FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=-1|2027-01-29 16:00|||2027-01-01|2027-12-31",
        "monthly second Tuesday by BYSETPOS|FREQ=MONTHLY;BYDAY=TU;BYSETPOS=2|2027-01-12 10:00|||2027-01-01|2028-01-01",
        "yearly fourth Thursday of November|FREQ=YEARLY;BYMONTH=11;BYDAY=4TH|2024-11-28 18:00|||2024-01-01|2040-01-01",
        "weekly UNTIL across summer time|FREQ=WEEKLY;BYDAY=MO,TH;UNTIL=20270415T235959|2027-03-01 09:00|||2027-01-01|2028-01-01",
        "daily COUNT with EXDATE and RDATE|FREQ=DAILY;COUNT=6|2027-10-28 08:30|2027-10-30 08:30|2027-11-05 12:00|2027-10-01|2027-12-01",
        "three-weekly INTERVAL|FREQ=WEEKLY;INTERVAL=3;BYDAY=WE|2027-02-03 07:00|||2027-01-01|2027-12-31",
        "leap day yearly|FREQ=YEARLY|2024-02-29 12:00|||2024-01-01|2041-01-01",
        "the 31st monthly|FREQ=MONTHLY;BYMONTHDAY=31|2027-01-31 12:00|||2027-01-01|2028-01-01",
        "last Friday every second month|FREQ=MONTHLY;INTERVAL=2;BYDAY=-1FR;COUNT=5|2027-01-29 09:00|||2027-01-01|2028-01-01",
    });
}

void tst_Recurrence::oracle()
{
    QFETCH(QString, rrule);
    QFETCH(QString, start);
    QFETCH(QString, exdates);
    QFETCH(QString, rdates);
    QFETCH(QString, from);
    QFETCH(QString, to);
    if (!Testing::oracleInstalled())
        QSKIP("python3-recurring-ical-events is not installed");
    const auto ical = [](const QString &value) {
        return QString(value).remove(QLatin1Char('-')).replace(QLatin1Char(' '), QLatin1Char('T')).remove(QLatin1Char(':')) + "00";
    };
    QByteArray event = "BEGIN:VEVENT\nUID:s\nDTSTAMP:20260101T000000Z\nDTSTART;TZID=Europe/Berlin:" + ical(start).toUtf8()
                       + "\nDURATION:PT1H\nRRULE:" + rrule.toUtf8() + "\n";
    for (const QString &date : (exdates + ", " + rdates).split(", ", Qt::SkipEmptyParts))
        event += (exdates.contains(date) ? "EXDATE" : "RDATE") + QByteArray(";TZID=Europe/Berlin:") + ical(date).toUtf8() + "\n";
    QTemporaryDir dir;
    QFile file(dir.filePath("series.ics"));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(Testing::calendar(event + "END:VEVENT\n")) > 0);
    file.close();
    const QString expected = Testing::oracleStarts(file.fileName(), from, to).join(", ");
    QVERIFY(!expected.isEmpty());
    QCOMPARE(text(occurrenceStarts(pattern(rrule, start, 1, exdates, rdates), at(from), at(to))), expected);
}

// Catches a form rule written, read or worded wrongly: canonical text, another spelling of
// the same rule, and the German words.
void tst_Recurrence::ruleText_data()
{
    table({"rrule", "spelling", "words"}, {
        "daily|FREQ=DAILY|freq=daily;|täglich",
        "every second day|FREQ=DAILY;INTERVAL=2||alle 2 Tage",
        "weekly on two days|FREQ=WEEKLY;BYDAY=MO,TH|FREQ=WEEKLY;BYDAY=TH,MO,TH;WKST=SU|wöchentlich am Montag und Donnerstag",
        "two-weekly on three days, count|FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,WE,FR;COUNT=10||alle 2 Wochen am Montag, Mittwoch und Freitag, 10-mal",
        "monthly on the 15th|FREQ=MONTHLY;BYMONTHDAY=15||monatlich am 15.",
        "monthly on the last Friday|FREQ=MONTHLY;BYDAY=-1FR|FREQ=MONTHLY;BYDAY=FR;BYSETPOS=-1|monatlich am letzten Freitag",
        "second month, second Tuesday, until|FREQ=MONTHLY;INTERVAL=2;BYDAY=2TU;UNTIL=20271231|FREQ=MONTHLY;INTERVAL=2;BYDAY=TU;BYSETPOS=2;UNTIL=20271231T235959|jeden 2. Monat am zweiten Dienstag, bis 31.12.2027",
        "yearly on the 24th of December|FREQ=YEARLY;BYMONTH=12;BYMONTHDAY=24||jährlich am 24. Dezember",
        "yearly on the fourth Thursday of November|FREQ=YEARLY;BYMONTH=11;BYDAY=4TH||jährlich am vierten Donnerstag im November",
        "every third year on the start's date|FREQ=YEARLY;INTERVAL=3||jedes 3. Jahr",
    });
}

void tst_Recurrence::ruleText()
{
    QFETCH(QString, rrule);
    QFETCH(QString, spelling);
    QFETCH(QString, words);
    const RecurrenceRule rule = RecurrenceRule::fromRRule(rrule);
    QCOMPARE(rule.toRRule(), rrule);
    if (!spelling.isEmpty())
        QVERIFY(RecurrenceRule::fromRRule(spelling) == rule);
    QCOMPARE(RecurrenceRule::describe(rrule), words);
}

// Catches a rule beyond the form taken into it, an invalid rule expanded, and a bad pattern
// that crashes or hangs instead of a German error.
void tst_Recurrence::refusals_data()
{
    // words empty: not a valid rule at all
    table({"rrule", "words"}, {
        "hourly|FREQ=HOURLY;INTERVAL=5|alle 5 Stunden nach besonderer Regel",
        "weekdays of a daily rule|FREQ=DAILY;BYDAY=MO,FR|täglich nach besonderer Regel",
        "two month days|FREQ=MONTHLY;BYMONTHDAY=1,15|monatlich nach besonderer Regel",
        "sixth Tuesday by BYSETPOS|FREQ=MONTHLY;BYDAY=TU;BYSETPOS=6|monatlich nach besonderer Regel",
        "yearly by week number|FREQ=YEARLY;BYWEEKNO=20|jährlich nach besonderer Regel",
        "invalid frequency|FREQ=INVALID;BYDAY=MO|",
        "interval 0|FREQ=DAILY;INTERVAL=0|",
        "COUNT beyond int|FREQ=DAILY;COUNT=99999999999|",
        "COUNT and UNTIL|FREQ=DAILY;COUNT=3;UNTIL=20270101|",
        "no frequency|INTERVAL=2|",
        "a field twice|FREQ=DAILY;FREQ=WEEKLY|",
    });
}

void tst_Recurrence::refusals()
{
    QFETCH(QString, rrule);
    QFETCH(QString, words);
    QVERIFY_THROWS_EXCEPTION(RecurrenceError, RecurrenceRule::fromRRule(rrule));
    QCOMPARE(RecurrenceRule::describe(rrule), words.isEmpty() ? QStringLiteral("ungültige Wiederholungsregel") : words);
    const SeriesPattern series = pattern(rrule, QStringLiteral("2027-01-01 09:00"));
    if (words.isEmpty())
        QVERIFY_THROWS_EXCEPTION(RecurrenceError, occurrenceStarts(series, at("2027-01-01"), at("2027-02-01")));
    else
        QVERIFY(!occurrenceStarts(series, at("2027-01-01"), at("2027-02-01")).isEmpty());
    const SeriesPattern daily = pattern(QStringLiteral("FREQ=DAILY"), QStringLiteral("2027-01-01 09:00"));
    QVERIFY_THROWS_EXCEPTION(RecurrenceError, occurrenceStarts(daily, std::nan(""), at("2027-02-01")));
    QVERIFY_THROWS_EXCEPTION(RecurrenceError, seriesLastEnd({std::nan(""), 0, false, "FREQ=DAILY;COUNT=2", {}, {}}));
    QVERIFY_THROWS_EXCEPTION(RecurrenceError, occurrenceStarts({at("2027-01-01"), -1, false, {}, {}, {}}, 0, 1e6));
}

// Catches a wrong end of a series, which lets the database skip it for a range it touches.
void tst_Recurrence::lastEnd_data()
{
    table({"rrule", "start", "exdates", "rdates", "allDay", "expected"}, {
        "endless|FREQ=WEEKLY|2027-01-04 09:00|||0|",
        "count of a weekly rule|FREQ=WEEKLY;BYDAY=MO,WE;COUNT=5|2027-01-06 09:00|||0|2027-01-20 10:00",
        "the last taken out|FREQ=DAILY;COUNT=3|2027-01-01 09:00|2027-01-03 09:00||0|2027-01-02 10:00",
        "a later rdate|FREQ=DAILY;UNTIL=20270105|2027-01-01 09:00||2027-02-01 13:00|0|2027-02-01 14:00",
        "UNTIL on a skipped 31st|FREQ=MONTHLY;UNTIL=20270430|2027-01-31 12:00|||0|2027-03-31 13:00",
        "all-day yearly|FREQ=YEARLY;COUNT=3|2027-12-24 10:00|||1|2029-12-25",
        "exotic rule through libical|FREQ=DAILY;BYHOUR=9,17;COUNT=3|2027-01-01 09:00|||0|2027-01-02 10:00",
        "only rdates|FREQ=DAILY;COUNT=1|2027-01-01 09:00||2026-12-01 09:00|0|2027-01-01 10:00",
    });
}

void tst_Recurrence::lastEnd()
{
    QFETCH(QString, rrule);
    QFETCH(QString, start);
    QFETCH(QString, exdates);
    QFETCH(QString, rdates);
    QFETCH(QString, allDay);
    QFETCH(QString, expected);
    SeriesPattern series = pattern(rrule, start, 1, exdates, rdates);
    series.allDay = allDay == QLatin1String("1");
    QCOMPARE(seriesLastEnd(series), expected.isEmpty() ? 0 : at(expected));
}

void tst_Recurrence::firstStart_data()
{
    // 6 January 2027 is a Wednesday.
    table({"rule", "start", "first"}, {
        "weekly Monday from a Wednesday|FREQ=WEEKLY;BYDAY=MO|2027-01-06 09:00|2027-01-11 09:00",
        "weekly Wednesday from its day|FREQ=WEEKLY;BYDAY=WE|2027-01-06 09:00|2027-01-06 09:00",
        "last Friday of the month|FREQ=MONTHLY;BYDAY=-1FR|2027-01-06 14:00|2027-01-29 14:00",
        "the 15th after it passed|FREQ=MONTHLY;BYMONTHDAY=15|2027-01-20 08:00|2027-02-15 08:00",
        "yearly on the start's date|FREQ=YEARLY|2027-01-06 09:00|2027-01-06 09:00",
        "a rule that ends before|FREQ=WEEKLY;BYDAY=MO;UNTIL=20270108|2027-01-06 09:00|2027-01-06 09:00",
    });
}

// Catches a series from the form that begins on a day its rule does not give, or one moved
// off the day its rule takes from the start.
void tst_Recurrence::firstStart()
{
    QFETCH(QString, rule);
    QFETCH(QString, start);
    QFETCH(QString, first);
    QCOMPARE(text({firstStartOnRule(rule, at(start))}), first);
}

QTEST_GUILESS_MAIN(tst_Recurrence)
#include "test_recurrence.moc"
